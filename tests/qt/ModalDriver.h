#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace sekreta::test {

// Acts as the user in modal dialogs, message boxes and pop-up menus, which the code under test
// runs in loops of their own. Actions are queued before the code that shows them runs; each
// one is given the next window that appears, in order. A window that appears with nothing
// queued for it is a failure, and is closed so that the test goes on.
class ModalDriver : public QObject {
public:
    using Action = std::function<void(QWidget& window)>;

    ModalDriver();
    ~ModalDriver() override;

    void Expect(std::string name, Action action);
    // Fails for every queued action whose window never appeared, and forgets them.
    void VerifyAllUsed();

private:
    struct Expected {
        std::string name;
        Action action;
    };

    void Poll();

    std::deque<Expected> m_expected;
    QTimer m_poll;
    // Every window an action was given, so that one shown again after a nested one is not new.
    std::vector<QPointer<QWidget>> m_handled;
};

}  // namespace sekreta::test
