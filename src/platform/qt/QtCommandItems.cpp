#include "platform/qt/QtCommandItems.h"

#include "platform/qt/QtText.h"

#include <QAction>
#include <QByteArray>
#include <QMenu>
#include <QWidget>

namespace sekreta::platform::qt {

namespace {

// The item's text as the program gave it; Qt's own copy is for showing.
constexpr const char* kBytesProperty = "sekretaText";

}  // namespace

QtCommandItems::QtCommandItems(QWidget& owner, ActionMaker makeAction)
    : m_owner(owner)
    , m_makeAction(std::move(makeAction))
{
}

unsigned QtCommandItems::CommandOf(const QAction& action)
{
    if (action.isSeparator() || action.menu())
        return 0;
    return action.data().toUInt();
}

void QtCommandItems::SetCommand(QAction& action, unsigned id, std::string_view text)
{
    action.setData(id);
    action.setProperty(kBytesProperty, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    // A tab puts the key's name at the right of a menu item, as the program's texts expect.
    action.setText(ToQString(text));
}

int QtCommandItems::Count() const
{
    return static_cast<int>(m_owner.actions().size());
}

QAction* QtCommandItems::At(int index) const
{
    const QList<QAction*> actions = m_owner.actions();
    return index >= 0 && index < actions.size() ? actions[index] : nullptr;
}

unsigned QtCommandItems::Id(int index) const
{
    const QAction* action = At(index);
    return action ? CommandOf(*action) : 0;
}

void QtCommandItems::Enable(int index, bool enabled)
{
    if (QAction* action = At(index))
        action->setEnabled(enabled);
}

void QtCommandItems::SetCheck(int index, bool checked)
{
    // Only a checked item shows a mark; an unchecked one looks like any other item.
    if (QAction* action = At(index)) {
        action->setCheckable(checked);
        action->setChecked(checked);
    }
}

void QtCommandItems::SetText(int index, std::string_view text)
{
    if (QAction* action = At(index))
        SetCommand(*action, CommandOf(*action), text);
}

std::string QtCommandItems::Text(int index) const
{
    const QAction* action = At(index);
    if (!action)
        return {};
    const QByteArray bytes = action->property(kBytesProperty).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtCommandItems::Insert(int index, unsigned id, std::string_view text)
{
    QAction* action = m_makeAction(id, text);
    m_owner.insertAction(At(index), action);
}

void QtCommandItems::Remove(int index)
{
    if (QAction* action = At(index)) {
        m_owner.removeAction(action);
        action->deleteLater();
    }
}

}  // namespace sekreta::platform::qt
