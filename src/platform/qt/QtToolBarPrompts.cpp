#include "platform/qt/QtToolBarPrompts.h"

#include "platform/qt/QtCommandItems.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace sekreta::platform::qt {

namespace {

constexpr int kRestMilliseconds = 300;

}  // namespace

QtToolBarPrompts::QtToolBarPrompts(QToolBar& toolBar, FrameWindowEvents& events)
    : QObject(&toolBar)
    , m_toolBar(toolBar)
    , m_events(events)
{
    m_restTimer.setSingleShot(true);
    m_restTimer.setInterval(kRestMilliseconds);
    connect(&m_restTimer, &QTimer::timeout, this, [this] { ShowPrompt(m_pending); });
    m_toolBar.installEventFilter(this);
}

void QtToolBarPrompts::WatchButtons()
{
    for (QAction* action : m_toolBar.actions()) {
        if (QWidget* button = m_toolBar.widgetForAction(action))
            button->installEventFilter(this);
    }
}

unsigned QtToolBarPrompts::CommandAt(QObject* watched) const
{
    const auto* button = qobject_cast<QToolButton*>(watched);
    return button && button->defaultAction() ? QtCommandItems::CommandOf(*button->defaultAction()) : 0;
}

void QtToolBarPrompts::ShowPrompt(unsigned id)
{
    m_restTimer.stop();
    if (id == 0)
        return;
    m_promptShown = true;
    m_events.OnMenuSelect(id);
}

void QtToolBarPrompts::ClearPrompt()
{
    m_restTimer.stop();
    if (!m_promptShown)
        return;
    m_promptShown = false;
    m_events.OnMenuSelect(0);
}

bool QtToolBarPrompts::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_toolBar) {
        if (event->type() == QEvent::Leave)
            ClearPrompt();
        return false;
    }
    const unsigned id = CommandAt(watched);
    switch (event->type()) {
    case QEvent::Enter:
        m_pending = id;
        if (m_promptShown)
            ShowPrompt(id);
        else
            m_restTimer.start();
        break;
    case QEvent::Leave:
        m_restTimer.stop();
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ShowPrompt(id);
        break;
    case QEvent::MouseButtonRelease:
        ClearPrompt();
        break;
    case QEvent::ToolTip: {
        const QString tip = ToQString(m_events.GetToolTipText(id));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, static_cast<QWidget*>(watched));
        return true;
    }
    default:
        break;
    }
    return false;
}

}  // namespace sekreta::platform::qt
