#pragma once

#include <QObject>

#include <optional>

namespace sekreta::platform::qt {

class QtWindowSystem;

// The desktop session's end, as the session manager runs it. When the user logs off, every
// frame is asked whether it may end; a question to the user shows only once the session
// manager has allowed the program to interact, and a refusal cancels the log-off. Only when
// the session really ends (Qt is told to quit) do the frames close, without another question.
class QtSessionEnd final : public QObject {
public:
    // The steps of the session manager's protocol that the program takes.
    class Manager {
    public:
        // Waits for the session manager's leave to interact with the user; false when refused.
        virtual bool AllowsInteraction() = 0;
        // The interaction is over.
        virtual void Release() = 0;
        // The log-off is refused.
        virtual void Cancel() = 0;

    protected:
        ~Manager() = default;
    };

    explicit QtSessionEnd(QtWindowSystem& system);

    // The log-off's query: false when a frame refused it, after cancelling it.
    bool Query(Manager& manager);
    // The session ends: every frame closes without a question, and the program ends.
    void End();
    // Whether a dialog or a message box may show now. One that may not answers as if it was
    // dismissed, so that changes nobody could be asked about refuse the log-off instead of
    // being lost.
    bool MayInteract();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QtWindowSystem& m_system;
    // The manager of the query under way, and its answer once asked.
    Manager* m_manager = nullptr;
    std::optional<bool> m_interaction;
};

}  // namespace sekreta::platform::qt
