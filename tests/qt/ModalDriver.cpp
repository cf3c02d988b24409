#include "qt/ModalDriver.h"

#include <QApplication>

#include <algorithm>

#include <gtest/gtest.h>

namespace sekreta::test {

ModalDriver::ModalDriver()
{
    m_poll.setInterval(5);
    connect(&m_poll, &QTimer::timeout, this, [this] { Poll(); });
    m_poll.start();
}

ModalDriver::~ModalDriver()
{
    VerifyAllUsed();
}

void ModalDriver::Expect(std::string name, Action action)
{
    m_expected.push_back({std::move(name), std::move(action)});
}

void ModalDriver::VerifyAllUsed()
{
    for (const Expected& expected : m_expected)
        ADD_FAILURE() << expected.name << " never appeared";
    m_expected.clear();
}

void ModalDriver::Poll()
{
    QWidget* window = QApplication::activePopupWidget();
    if (!window)
        window = QApplication::activeModalWidget();
    if (!window || !window->isVisible())
        return;
    std::erase_if(m_handled, [](const QPointer<QWidget>& handled) { return handled.isNull(); });
    if (std::find(m_handled.begin(), m_handled.end(), window) != m_handled.end())
        return;
    m_handled.emplace_back(window);
    if (m_expected.empty()) {
        ADD_FAILURE() << "a window \"" << window->windowTitle().toStdString() << "\" ("
                      << window->metaObject()->className() << ") appeared but nothing was expected";
        window->close();
        return;
    }
    Expected expected = std::move(m_expected.front());
    m_expected.pop_front();
    // Run from a timer of its own: the action may open windows in turn, and this poll must go on
    // inside their loops.
    QPointer<QWidget> target = window;
    QTimer::singleShot(0, this, [target, action = std::move(expected.action)] {
        if (target)
            action(*target);
    });
}

}  // namespace sekreta::test
