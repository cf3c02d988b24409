#include "platform/headless/HeadlessWindowSystem.h"

#include "platform/TextEncoding.h"
#include "platform/headless/HeadlessFrameWindow.h"

#include <algorithm>
#include <utility>

namespace sekreta::platform {

namespace {

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

// How a scripted event is named in problems, so that the test's author recognises it.
std::string Describe(const ScriptedEvent& event)
{
    if (const auto* script = std::get_if<DialogScript>(&event))
        return "dialog " + std::to_string(script->TemplateId());
    if (const auto* box = std::get_if<MessageBoxAnswer>(&event)) {
        std::string text = "message box answer " + std::to_string(box->answer);
        if (box->expectedText)
            text += " (" + Quoted(*box->expectedText) + ")";
        return text;
    }
    return "file dialog answer";
}

std::string Unexpected(const std::deque<ScriptedEvent>& script, const std::string& appeared)
{
    if (script.empty())
        return appeared + " but nothing was scripted for it";
    return appeared + " but the script expected " + Describe(script.front());
}

bool IsButtonOf(int answer, MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == IDOK;
    case MessageButtons::OkCancel:
        return answer == IDOK || answer == IDCANCEL;
    case MessageButtons::YesNo:
        return answer == IDYES || answer == IDNO;
    case MessageButtons::YesNoCancel:
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    }
    return false;
}


// The first `count` characters of a text, counted as CharacterCount counts them.
std::string_view FirstCharacters(std::string_view text, std::size_t count)
{
    if (!IsValidUtf8(text))
        return text.substr(0, count);
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size(); ++end) {
        const bool startsCharacter = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (!startsCharacter)
            continue;
        if (seen == count)
            break;
        ++seen;
    }
    return text.substr(0, end);
}

// A modal dialog in memory, played through by one script.
class HeadlessDialogWindow final : public DialogWindow {
public:
    HeadlessDialogWindow(HeadlessWindowSystem& system, const DialogTemplate& dialog)
        : m_system(system)
        , m_dialog(dialog)
    {
        for (const ControlTemplate& control : dialog.controls) {
            const bool empty = control.kind == ControlKind::Edit;
            m_controls.push_back({&control, empty ? std::string() : std::string(control.text), 0, false});
            if (!m_focus && TakesFocus(control))
                m_focus = control.id;
        }
    }

    int Run(DialogEvents& events, const DialogScript& script)
    {
        events.OnInitDialog(*this);
        // As on the desktop, an edit field that has the focus when the dialog opens shows its
        // text selected, so that typing replaces it.
        if (Control* focused = m_focus ? Find(*m_focus) : nullptr;
            focused && focused->source->kind == ControlKind::Edit)
            focused->wholeTextSelected = true;
        const std::vector<DialogScript::Step>& steps = script.Steps();
        std::size_t next = 0;
        while (!m_result && next < steps.size())
            std::visit([&](const auto& step) { Perform(events, step); }, steps[next++]);
        if (m_result) {
            if (next < steps.size())
                Report("closed with " + std::to_string(steps.size() - next) + " scripted steps left");
            return *m_result;
        }
        Report("is still open with nothing left to do");
        return IDCANCEL;
    }

    std::string GetControlText(int id) const override
    {
        const Control* control = Find(id);
        return control ? control->text : std::string();
    }
    void SetControlText(int id, std::string_view text) override
    {
        if (Control* control = Find(id)) {
            control->text = text;
            control->wholeTextSelected = false;
        }
    }
    int GetCheck(int id) const override
    {
        const Control* control = Find(id);
        return control ? control->checked : 0;
    }
    void SetCheck(int id, int checked) override
    {
        if (Control* control = Find(id))
            control->checked = checked;
    }
    void SetFocus(int id) override
    {
        if (Find(id))
            m_focus = id;
    }
    void SelectAllText(int id) override
    {
        if (Control* control = Find(id))
            control->wholeTextSelected = true;
    }
    void EndDialog(int result) override { m_result = result; }

private:
    struct Control {
        const ControlTemplate* source;
        std::string text;
        int checked;
        bool wholeTextSelected;
    };

    static bool TakesFocus(const ControlTemplate& control)
    {
        return (control.style & TabStop) != 0 && control.kind != ControlKind::Label
            && control.kind != ControlKind::GroupBox && control.kind != ControlKind::Icon;
    }

    std::string Name() const { return "dialog " + std::to_string(m_dialog.id); }
    void Report(const std::string& problem) const { m_system.ReportProblem(Name() + " " + problem); }
    void ReportOnControl(int id, const std::string& problem) const
    {
        m_system.ReportProblem(Name() + ": control " + std::to_string(id) + " " + problem);
    }

    const Control* Lookup(int id) const
    {
        const auto found = std::find_if(
            m_controls.begin(), m_controls.end(), [id](const Control& control) { return control.source->id == id; });
        return found != m_controls.end() ? &*found : nullptr;
    }
    Control* Lookup(int id) { return const_cast<Control*>(std::as_const(*this).Lookup(id)); }
    // As Lookup, but a missing control is a problem.
    const Control* Find(int id) const
    {
        const Control* control = Lookup(id);
        if (!control)
            Report("has no control " + std::to_string(id));
        return control;
    }
    Control* Find(int id) { return const_cast<Control*>(std::as_const(*this).Find(id)); }
    Control* Focused() { return m_focus ? Lookup(*m_focus) : nullptr; }

    // Typing at the end of the control's text, as the desktop would take it: the text the user
    // edits is the one shown, and a field that keeps to its width refuses, one beep for each
    // key, the characters that do not fit.
    void Type(Control& control, std::string_view typed)
    {
        std::string text = control.wholeTextSelected ? std::string() : DisplayText(control.text);
        if (const std::optional<std::size_t> limit = control.source->TypedCharacterLimit()) {
            const std::size_t shown = CharacterCount(text);
            const std::string_view taken = FirstCharacters(typed, shown < *limit ? *limit - shown : 0);
            for (std::size_t refused = CharacterCount(typed.substr(taken.size())); refused > 0; --refused)
                m_system.Beep();
            typed = taken;
        }
        control.text = std::move(text) + std::string(typed);
        control.wholeTextSelected = false;
    }

    int DefaultButton() const
    {
        const auto found = std::find_if(m_controls.begin(), m_controls.end(),
            [](const Control& control) { return control.source->kind == ControlKind::DefaultPushButton; });
        return found != m_controls.end() ? found->source->id : IDOK;
    }

    // The control a step of the script acts on, if it is of a kind the user can act on so.
    Control* FindForUser(int id, ControlKind kind, std::string_view kindName)
    {
        Control* control = Find(id);
        if (control && control->source->kind != kind) {
            ReportOnControl(id, "is not " + std::string(kindName));
            return nullptr;
        }
        return control;
    }

    void Perform(DialogEvents&, const DialogScript::SetTextStep& step)
    {
        if (Control* control = FindForUser(step.id, ControlKind::Edit, "an edit control")) {
            m_focus = step.id;
            control->wholeTextSelected = true;
            Type(*control, step.text);
        }
    }
    void Perform(DialogEvents&, const DialogScript::SetCheckStep& step)
    {
        if (Control* control = FindForUser(step.id, ControlKind::CheckBox, "a check box")) {
            m_focus = step.id;
            control->checked = step.checked;
        }
    }
    void Perform(DialogEvents& events, const DialogScript::PressStep& step)
    {
        // Enter and Esc reach OK and Cancel even where the dialog shows no such button.
        const bool keyReaches = step.buttonId == IDOK || step.buttonId == IDCANCEL;
        const Control* control = keyReaches ? Lookup(step.buttonId) : Find(step.buttonId);
        if (!control && !keyReaches)
            return;
        if (control) {
            if (control->source->kind != ControlKind::PushButton
                && control->source->kind != ControlKind::DefaultPushButton) {
                ReportOnControl(step.buttonId, "is not a button");
                return;
            }
            m_focus = step.buttonId;
        }
        events.OnCommand(*this, step.buttonId);
    }
    void Perform(DialogEvents&, const DialogScript::TabStep&)
    {
        const auto focused = std::find_if(m_controls.begin(), m_controls.end(),
            [this](const Control& control) { return m_focus == control.source->id; });
        // With nothing focused, the first control in order is the next one.
        const std::size_t from
            = focused != m_controls.end() ? std::size_t(focused - m_controls.begin()) : m_controls.size() - 1;
        for (std::size_t step = 1; step <= m_controls.size(); ++step) {
            Control& next = m_controls[(from + step) % m_controls.size()];
            if (TakesFocus(*next.source)) {
                m_focus = next.source->id;
                next.wholeTextSelected = next.source->kind == ControlKind::Edit;
                return;
            }
        }
    }
    void Perform(DialogEvents&, const DialogScript::ClickAfterTextStep& step)
    {
        if (Control* control = FindForUser(step.id, ControlKind::Edit, "an edit control")) {
            m_focus = step.id;
            control->wholeTextSelected = false;
        }
    }
    void Perform(DialogEvents&, const DialogScript::TypeStep& step)
    {
        Control* focused = Focused();
        if (!focused || focused->source->kind != ControlKind::Edit) {
            const std::string actual = m_focus ? "control " + std::to_string(*m_focus) : "no control";
            m_system.ReportProblem(Name() + ": typing " + Quoted(step.text) + " but focus is on " + actual
                + ", which is not an edit control");
            return;
        }
        Type(*focused, step.text);
    }
    void Perform(DialogEvents& events, const DialogScript::EnterStep&)
    {
        constexpr std::uint32_t kBreaksLines = MultiLine | WantReturn;
        Control* focused = Focused();
        if (focused && focused->source->kind == ControlKind::Edit
            && (focused->source->style & kBreaksLines) == kBreaksLines) {
            Type(*focused, "\r\n");
            return;
        }
        const bool onButton = focused && focused->source->kind == ControlKind::PushButton;
        events.OnCommand(*this, onButton ? focused->source->id : DefaultButton());
    }
    void Perform(DialogEvents&, const DialogScript::ExpectTextStep& step)
    {
        const Control* control = Find(step.id);
        if (control && control->text != step.text)
            ReportOnControl(
                step.id, "shows " + Quoted(control->text) + " but the script expected " + Quoted(step.text));
    }
    void Perform(DialogEvents&, const DialogScript::ExpectCheckStep& step)
    {
        const Control* control = Find(step.id);
        if (control && control->checked != step.checked)
            ReportOnControl(step.id,
                "has check " + std::to_string(control->checked) + " but the script expected "
                    + std::to_string(step.checked));
    }
    void Perform(DialogEvents&, const DialogScript::ExpectFocusStep& step)
    {
        if (m_focus != step.id) {
            const std::string actual = m_focus ? "control " + std::to_string(*m_focus) : "no control";
            m_system.ReportProblem(
                Name() + ": focus is on " + actual + " but the script expected control " + std::to_string(step.id));
            return;
        }
        const Control* control = Find(step.id);
        if (control && control->wholeTextSelected != step.wholeTextSelected)
            ReportOnControl(step.id,
                control->wholeTextSelected ? "has its whole text selected but the script expected it not to"
                                           : "does not have its whole text selected but the script expected it to");
    }
    void Perform(DialogEvents&, const DialogScript::ArrivalStep& step) { m_system.Deliver({step.arrival}); }

    HeadlessWindowSystem& m_system;
    const DialogTemplate& m_dialog;
    std::vector<Control> m_controls;
    std::optional<int> m_focus;
    std::optional<int> m_result;
};

}  // namespace

HeadlessWindowSystem::UserAction::UserAction(HeadlessWindowSystem& system)
    : m_system(system)
{
    ++m_system.m_userActionDepth;
}

HeadlessWindowSystem::UserAction::~UserAction()
{
    // The action is over and the program is back in its loop.
    if (--m_system.m_userActionDepth == 0)
        m_system.RunPostedTasks();
}

HeadlessWindowSystem::ModalWindow::ModalWindow(HeadlessWindowSystem& system, const std::string& appeared)
    : m_system(system)
{
    ++m_system.m_modalDepth;
    if (m_system.IsWaitCursorShown())
        m_system.ReportProblem(appeared + " under the busy cursor");
}

HeadlessWindowSystem::ModalWindow::~ModalWindow()
{
    --m_system.m_modalDepth;
}

HeadlessWindowSystem::HeadlessWindowSystem(ProblemReporter reportProblem)
    : m_reportProblem(std::move(reportProblem))
{
}

// Quiet on purpose: tests check the leftovers with VerifyAllScriptsUsed while they can still fail.
HeadlessWindowSystem::~HeadlessWindowSystem() = default;

DialogScript& HeadlessWindowSystem::ExpectDialog(unsigned templateId)
{
    return std::get<DialogScript>(m_script.emplace_back(std::in_place_type<DialogScript>, templateId));
}

void HeadlessWindowSystem::ExpectMessageBox(int answer)
{
    m_script.emplace_back(MessageBoxAnswer {.answer = answer, .expectedText = std::nullopt, .arrivals = {}});
}

void HeadlessWindowSystem::ExpectMessageBox(std::string text, int answer, std::vector<Arrival> arrivals)
{
    m_script.emplace_back(
        MessageBoxAnswer {.answer = answer, .expectedText = std::move(text), .arrivals = std::move(arrivals)});
}

void HeadlessWindowSystem::ExpectFileDialog(std::optional<std::filesystem::path> answer, std::vector<Arrival> arrivals)
{
    m_script.emplace_back(FileDialogAnswer {.path = std::move(answer), .arrivals = std::move(arrivals)});
}

void HeadlessWindowSystem::VerifyAllScriptsUsed()
{
    const std::deque<ScriptedEvent> leftovers = std::exchange(m_script, {});
    for (const ScriptedEvent& event : leftovers)
        ReportProblem("scripted " + Describe(event) + " never appeared");
}

std::unique_ptr<FrameWindow> HeadlessWindowSystem::CreateFrameWindow(
    const FrameTemplate& frame, FrameWindowEvents& events)
{
    auto window = std::make_unique<HeadlessFrameWindow>(*this, frame, events);
    m_frames.push_back(window.get());
    return window;
}

int HeadlessWindowSystem::RunModalDialog(const DialogTemplate& dialog, DialogEvents& events)
{
    m_dialogsShown.push_back(dialog.id);
    const std::string appeared = "dialog " + std::to_string(dialog.id) + " " + Quoted(dialog.title) + " appeared";
    const ModalWindow modal(*this, appeared);
    DialogScript* script = m_script.empty() ? nullptr : std::get_if<DialogScript>(&m_script.front());
    if (!script || script->TemplateId() != dialog.id) {
        ReportProblem(Unexpected(m_script, appeared));
        return IDCANCEL;
    }
    // Taken off the queue first: the dialog's own message boxes and dialogs come next in it.
    const DialogScript steps = std::move(*script);
    m_script.pop_front();
    HeadlessDialogWindow window(*this, dialog);
    return window.Run(events, steps);
}

int HeadlessWindowSystem::ShowMessageBox(const MessageBoxRequest& request)
{
    m_messageBoxes.push_back(request);
    const std::string appeared = "message box " + Quoted(request.text) + " appeared";
    const ModalWindow modal(*this, appeared);
    MessageBoxAnswer* answer = m_script.empty() ? nullptr : std::get_if<MessageBoxAnswer>(&m_script.front());
    if (!answer) {
        ReportProblem(Unexpected(m_script, appeared));
        return DismissalAnswer(request.buttons);  // an unscripted box is dismissed
    }
    const MessageBoxAnswer scripted = std::move(*answer);
    m_script.pop_front();
    if (scripted.expectedText && *scripted.expectedText != request.text)
        ReportProblem(appeared + " but the script expected " + Quoted(*scripted.expectedText));
    if (!IsButtonOf(scripted.answer, request.buttons))
        ReportProblem("message box " + Quoted(request.text) + " has no button for the scripted answer "
            + std::to_string(scripted.answer));
    Deliver(scripted.arrivals);
    return scripted.answer;
}

std::optional<std::filesystem::path> HeadlessWindowSystem::ChooseFile(const FileDialogRequest& request)
{
    m_fileDialogs.push_back(request);
    const std::string appeared = "file dialog " + Quoted(request.title) + " appeared";
    const ModalWindow modal(*this, appeared);
    FileDialogAnswer* answer = m_script.empty() ? nullptr : std::get_if<FileDialogAnswer>(&m_script.front());
    if (!answer) {
        ReportProblem(Unexpected(m_script, appeared));
        return std::nullopt;
    }
    const FileDialogAnswer scripted = std::move(*answer);
    m_script.pop_front();
    Deliver(scripted.arrivals);
    return scripted.path;
}

void HeadlessWindowSystem::SetWaitCursor(bool waiting)
{
    // Like the framework's own count, never below zero: one extra end just restores the arrow.
    m_waitCursorDepth = waiting ? m_waitCursorDepth + 1 : std::max(0, m_waitCursorDepth - 1);
}

void HeadlessWindowSystem::Post(std::function<void()> task)
{
    const std::lock_guard lock(m_postedMutex);
    m_posted.push_back(std::move(task));
}

void HeadlessWindowSystem::RunPostedTasks()
{
    if (m_modalDepth > 0 || m_runningPostedTasks)
        return;
    m_runningPostedTasks = true;
    for (;;) {
        std::function<void()> task;
        {
            const std::lock_guard lock(m_postedMutex);
            if (m_posted.empty())
                break;
            task = std::move(m_posted.front());
            m_posted.pop_front();
        }
        ++m_postedTasksRun;
        task();
    }
    m_runningPostedTasks = false;
}

void HeadlessWindowSystem::Deliver(const std::vector<Arrival>& arrivals)
{
    for (const Arrival& arrival : arrivals) {
        if (m_frames.empty()) {
            ReportProblem("something arrived but there is no main window to take it");
            return;
        }
        HeadlessFrameWindow& frame = *m_frames.back();
        if (const auto* request = std::get_if<std::string>(&arrival.what)) {
            if (const bool taken = frame.SendShellRequest(*request); taken != arrival.taken)
                ReportProblem("request " + Quoted(*request) + (taken ? " was taken" : " was refused")
                    + " but the script expected " + (arrival.taken ? "it taken" : "it refused"));
        } else {
            frame.DropFiles(std::get<std::vector<std::filesystem::path>>(arrival.what));
        }
        frame.Idle();
    }
}

int HeadlessWindowSystem::RunMessageLoop()
{
    return m_exitCode;
}

void HeadlessWindowSystem::Quit(int exitCode)
{
    m_quitRequested = true;
    m_exitCode = exitCode;
}

void HeadlessWindowSystem::ForgetFrame(HeadlessFrameWindow* frame)
{
    std::erase(m_frames, frame);
}

void HeadlessWindowSystem::ReportProblem(const std::string& problem) const
{
    m_reportProblem(problem);
}

void HeadlessWindowSystem::Beep()
{
    ++m_beeps;
}

}  // namespace sekreta::platform
