#include "platform/headless/HeadlessScript.h"

namespace sekreta::platform {

Arrival Arrival::Request(std::string request, bool taken)
{
    return {std::move(request), taken};
}

Arrival Arrival::Drop(std::vector<std::filesystem::path> files)
{
    return {std::move(files), true};
}

DialogScript& DialogScript::SetText(int id, std::string text)
{
    m_steps.push_back(SetTextStep {id, std::move(text)});
    return *this;
}

DialogScript& DialogScript::SetCheck(int id, int checked)
{
    m_steps.push_back(SetCheckStep {id, checked});
    return *this;
}

DialogScript& DialogScript::Press(int buttonId)
{
    m_steps.push_back(PressStep {buttonId});
    return *this;
}

DialogScript& DialogScript::Tab()
{
    m_steps.push_back(TabStep {});
    return *this;
}

DialogScript& DialogScript::ClickAfterText(int id)
{
    m_steps.push_back(ClickAfterTextStep {id});
    return *this;
}

DialogScript& DialogScript::Type(std::string text)
{
    m_steps.push_back(TypeStep {std::move(text)});
    return *this;
}

DialogScript& DialogScript::PressEnter()
{
    m_steps.push_back(EnterStep {});
    return *this;
}

DialogScript& DialogScript::ExpectText(int id, std::string text)
{
    m_steps.push_back(ExpectTextStep {id, std::move(text)});
    return *this;
}

DialogScript& DialogScript::ExpectCheck(int id, int checked)
{
    m_steps.push_back(ExpectCheckStep {id, checked});
    return *this;
}

DialogScript& DialogScript::ExpectFocus(int id, bool wholeTextSelected)
{
    m_steps.push_back(ExpectFocusStep {id, wholeTextSelected});
    return *this;
}

DialogScript& DialogScript::Arrive(Arrival arrival)
{
    m_steps.push_back(ArrivalStep {std::move(arrival)});
    return *this;
}

}  // namespace sekreta::platform
