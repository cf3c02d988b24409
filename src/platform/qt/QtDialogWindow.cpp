#include "platform/qt/QtDialogWindow.h"

#include "platform/qt/CharacterBoundValidator.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SvgPicture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTextDocument>

#include <algorithm>
#include <limits>
#include <map>

namespace sekreta::platform::qt {

namespace {

bool TakesFocus(const ControlTemplate& control)
{
    return (control.style & TabStop) != 0
        && (control.kind == ControlKind::Edit || control.kind == ControlKind::PushButton
            || control.kind == ControlKind::DefaultPushButton || control.kind == ControlKind::CheckBox);
}

bool HasMnemonic(const QString& text)
{
    return !QKeySequence::mnemonic(text).isEmpty();
}

// Selects the whole text from its end back to its start, so that a long one shows its beginning.
void SelectWholeText(QLineEdit& line)
{
    const int length = static_cast<int>(line.text().size());
    line.setSelection(length, -length);
}

// A single-line field that, given the focus with its whole text selected (as when the dialog
// opens), shows the beginning of a text too long for it rather than its end.
class LineField final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        if (selectionStart() == 0 && selectionLength() == text().size())
            SelectWholeText(*this);
    }
};

// OK and Cancel carry the pictures that the desktop's style gives them in message boxes, when
// it gives them any.
void SetStandardIcon(QPushButton& button, int id)
{
    const QStyle& style = *button.style();
    if (!style.styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons, nullptr, &button))
        return;
    if (id == IDOK)
        button.setIcon(style.standardIcon(QStyle::SP_DialogOkButton, nullptr, &button));
    else if (id == IDCANCEL)
        button.setIcon(style.standardIcon(QStyle::SP_DialogCancelButton, nullptr, &button));
}

}  // namespace

// The window: Enter presses the default button (OK where there is none), Esc and the close
// box ask for Cancel, and a group box's mnemonic moves the focus on.
class QtDialogWindow::Dialog final : public QDialog {
public:
    Dialog(QtDialogWindow& owner, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
        , m_owner(owner)
    {
    }

    void reject() override { m_owner.m_events.OnCommand(m_owner, IDCANCEL); }

    void PressEnter()
    {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isVisible()) {
                if (button->isEnabled())
                    button->click();
                return;
            }
        }
        m_owner.m_events.OnCommand(m_owner, IDOK);
    }

    // Enter in a multi-line field that does not want it, and group box mnemonics.
    std::vector<QWidget*> m_enterPressesDefault;
    std::map<QObject*, QWidget*> m_mnemonicTargets;

protected:
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        // A dialog is worked with the keyboard: the control that has the focus shows its mark
        // from the start, not only once Tab has been pressed (a check box has no other).
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            PressEnter();
            return;
        }
        QDialog::keyPressEvent(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut) {
            if (const auto target = m_mnemonicTargets.find(watched); target != m_mnemonicTargets.end()) {
                target->second->setFocus(Qt::ShortcutFocusReason);
                return true;
            }
        }
        if (event->type() == QEvent::KeyPress
            && std::find(m_enterPressesDefault.begin(), m_enterPressesDefault.end(), watched)
                != m_enterPressesDefault.end()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                PressEnter();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    QtDialogWindow& m_owner;
};

QtDialogWindow::QtDialogWindow(const DialogTemplate& dialog, DialogEvents& events, QWidget* parent)
    : m_template(dialog)
    , m_events(events)
    , m_dialog(std::make_unique<Dialog>(*this, parent))
    , m_units(QApplication::font(m_dialog.get()))
{
    m_dialog->setObjectName(QStringLiteral("dialog%1").arg(dialog.id));
    m_dialog->setWindowTitle(ToQString(dialog.title));
    m_dialog->setFixedSize(m_units.ToPixelsX(dialog.width), m_units.ToPixelsY(dialog.height));
    m_controls.reserve(dialog.controls.size());
    for (std::size_t index = 0; index < dialog.controls.size(); ++index)
        AddControl(dialog.controls[index], index);

    // Mnemonics and Tab follow the template's order.
    QWidget* previous = nullptr;
    for (std::size_t index = 0; index < m_controls.size(); ++index) {
        Control& control = m_controls[index];
        const ControlKind kind = control.source->kind;
        if (kind == ControlKind::Label) {
            auto* label = static_cast<QLabel*>(control.widget);
            QWidget* target = HasMnemonic(control.shown) ? MnemonicTarget(index) : nullptr;
            if (target)
                label->setBuddy(target);
            else
                label->setText(WithoutMnemonics(control.shown));
        } else if (kind == ControlKind::GroupBox && HasMnemonic(control.shown)) {
            if (QWidget* target = MnemonicTarget(index)) {
                m_dialog->m_mnemonicTargets[control.widget] = target;
                control.widget->installEventFilter(m_dialog.get());
            }
        }
        if (TakesFocus(*control.source)) {
            if (previous)
                QWidget::setTabOrder(previous, control.widget);
            else
                control.widget->setFocus(Qt::TabFocusReason);
            previous = control.widget;
        }
    }
}

QtDialogWindow::~QtDialogWindow() = default;

QDialog& QtDialogWindow::Widget() const
{
    return *m_dialog;
}

void QtDialogWindow::AddControl(const ControlTemplate& source, std::size_t index)
{
    QWidget* parent = m_dialog.get();
    const bool takesText = source.kind != ControlKind::Edit && source.kind != ControlKind::Icon;
    Control control {&source, nullptr, takesText ? std::string(source.text) : std::string(), {}};
    control.shown = ToQString(control.bytes);
    const Qt::Alignment horizontal = (source.style & AlignRight) != 0 ? Qt::AlignRight
        : (source.style & AlignCenter) != 0                           ? Qt::AlignHCenter
                                                                      : Qt::AlignLeft;

    switch (source.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(control.shown, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(horizontal | Qt::AlignTop);
        label->setWordWrap((source.style & WordWrap) != 0);
        control.widget = label;
        break;
    }
    case ControlKind::Edit:
        if ((source.style & MultiLine) != 0) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setLineWrapMode(
                (source.style & AutoHorizontalScroll) != 0 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setTabChangesFocus(true);
            if ((source.style & Border) == 0)
                edit->setFrameShape(QFrame::NoFrame);
            if ((source.style & WantReturn) == 0) {
                m_dialog->m_enterPressesDefault.push_back(edit);
                edit->installEventFilter(m_dialog.get());
            }
            control.widget = edit;
        } else {
            auto* edit = new LineField(parent);
            edit->setFrame((source.style & Border) != 0);
            // A field holds a text of any length unless its template bounds it.
            edit->setMaxLength(std::numeric_limits<int>::max());
            if (const std::optional<std::size_t> limit = source.TypedCharacterLimit())
                edit->setValidator(new CharacterBoundValidator(*edit, *limit));
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this, index] { m_controls[index].edited = true; });
            control.widget = edit;
        }
        break;
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(control.shown, parent);
        // As on every desktop, the button with the focus is the one Enter presses.
        button->setAutoDefault(true);
        button->setDefault(source.kind == ControlKind::DefaultPushButton);
        SetStandardIcon(*button, source.id);
        QObject::connect(
            button, &QPushButton::clicked, button, [this, id = source.id] { m_events.OnCommand(*this, id); });
        control.widget = button;
        break;
    }
    case ControlKind::CheckBox:
        control.widget = new QCheckBox(control.shown, parent);
        break;
    case ControlKind::GroupBox:
        control.widget = new QGroupBox(control.shown, parent);
        break;
    case ControlKind::Icon: {
        auto* icon = new QLabel(parent);
        const int side = m_dialog->style()->pixelMetric(QStyle::PM_LargeIconSize);
        icon->setPixmap(SvgPixmap(source.text, QSize(side, side), m_dialog->devicePixelRatio()));
        control.widget = icon;
        break;
    }
    }

    control.widget->setObjectName(QStringLiteral("control%1").arg(index));
    control.widget->setProperty("controlId", source.id);
    const QRect place = m_units.ToPixels(source.x, source.y, source.width, source.height);
    if (source.kind == ControlKind::Icon) {
        // An icon control takes the size of the icon it shows.
        control.widget->move(place.topLeft());
        control.widget->adjustSize();
    } else {
        control.widget->setGeometry(place);
    }
    const Qt::FocusPolicy focus
        = source.kind == ControlKind::Label || source.kind == ControlKind::GroupBox || source.kind == ControlKind::Icon
        ? Qt::NoFocus
        : (source.style & TabStop) != 0 ? Qt::StrongFocus
                                        : Qt::ClickFocus;
    control.widget->setFocusPolicy(focus);
    // A group box is drawn behind the controls it frames, so that they get the clicks.
    if (source.kind == ControlKind::GroupBox)
        control.widget->lower();
    m_controls.push_back(std::move(control));
}

QWidget* QtDialogWindow::MnemonicTarget(std::size_t index) const
{
    for (std::size_t next = index + 1; next < m_controls.size(); ++next) {
        if (TakesFocus(*m_controls[next].source))
            return m_controls[next].widget;
    }
    return nullptr;
}

const QtDialogWindow::Control* QtDialogWindow::Find(int id) const
{
    const auto found = std::find_if(
        m_controls.begin(), m_controls.end(), [id](const Control& control) { return control.source->id == id; });
    return found == m_controls.end() ? nullptr : &*found;
}

QtDialogWindow::Control* QtDialogWindow::Find(int id)
{
    return const_cast<Control*>(std::as_const(*this).Find(id));
}

int QtDialogWindow::Run()
{
    m_events.OnInitDialog(*this);
    if (!m_result)
        m_dialog->exec();
    return m_result.value_or(IDCANCEL);
}

std::string QtDialogWindow::GetControlText(int id) const
{
    const Control* control = Find(id);
    if (!control)
        return {};
    // Only an edit field changes under the user's hands. One the user did not edit gives back
    // the program's bytes, which its Qt text may not stand for exactly.
    if (const auto* line = qobject_cast<const QLineEdit*>(control->widget))
        return control->edited ? ToBytes(line->text()) : control->bytes;
    if (const auto* lines = qobject_cast<const QPlainTextEdit*>(control->widget)) {
        const QTextDocument& document = *lines->document();
        return document.isModified() ? ToBytes(ToCarriageReturnLineFeeds(document.toRawText())) : control->bytes;
    }
    return control->bytes;
}

void QtDialogWindow::SetControlText(int id, std::string_view text)
{
    Control* control = Find(id);
    if (!control)
        return;
    control->bytes = text;
    control->shown = ToQString(text);
    ShowText(*control);
}

void QtDialogWindow::ShowText(Control& control)
{
    if (auto* line = qobject_cast<QLineEdit*>(control.widget)) {
        // The bound is on what the user puts in: the program's text is shown whole.
        const QValidator* bound = line->validator();
        line->setValidator(nullptr);
        line->setText(control.shown);
        line->setValidator(bound);
        // A long text shows its beginning.
        line->setCursorPosition(0);
        control.edited = false;
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(control.widget)) {
        control.shown = ToLineFeeds(control.shown);
        lines->setPlainText(control.shown);
        lines->document()->setModified(false);
    } else if (auto* label = qobject_cast<QLabel*>(control.widget)) {
        label->setText(label->buddy() ? control.shown : WithoutMnemonics(control.shown));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
        button->setText(control.shown);
    } else if (auto* group = qobject_cast<QGroupBox*>(control.widget)) {
        group->setTitle(control.shown);
    }
}

int QtDialogWindow::GetCheck(int id) const
{
    const Control* control = Find(id);
    const auto* box = control ? qobject_cast<const QCheckBox*>(control->widget) : nullptr;
    return box && box->isChecked() ? 1 : 0;
}

void QtDialogWindow::SetCheck(int id, int checked)
{
    const Control* control = Find(id);
    if (auto* box = control ? qobject_cast<QCheckBox*>(control->widget) : nullptr)
        box->setChecked(checked != 0);
}

void QtDialogWindow::SetFocus(int id)
{
    if (const Control* control = Find(id))
        control->widget->setFocus(Qt::OtherFocusReason);
}

void QtDialogWindow::SelectAllText(int id)
{
    const Control* control = Find(id);
    if (!control)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(control->widget))
        SelectWholeText(*line);
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(control->widget))
        lines->selectAll();
}

void QtDialogWindow::EndDialog(int result)
{
    m_result = result;
    m_dialog->done(result);
}

}  // namespace sekreta::platform::qt
