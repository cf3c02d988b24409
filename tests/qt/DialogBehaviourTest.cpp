// What a person does in a dialog drawn by the Qt backend: Enter, Esc and the close box, a
// refused OK that keeps the dialog open, mnemonics, a multi-line field, the pass phrase
// field's bound, and texts that come back as they went in.
#include "platform/qt/DesktopBeep.h"
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "qt/DialogEventsRecorder.h"
#include "qt/ModalDriver.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"
#include "resources/SekretaResources.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace sekreta::test {
namespace {

using namespace platform;
using platform::qt::QtDialogWindow;
using platform::qt::QtWindowSystem;

constexpr int IDC_NAME = 1001;
constexpr int IDC_CODE = 1002;
constexpr int IDC_NOTES = 1006;
constexpr int IDC_MORE = 3;

constexpr ControlTemplate kControls[] = {
    {ControlKind::Label, IDC_STATIC, "&Name:", 5, 7, 40, 8, AlignRight},
    {ControlKind::Edit, IDC_NAME, "", 50, 5, 120, 12, Border | AutoHorizontalScroll | TabStop},
    {ControlKind::Label, IDC_STATIC, "C&ode:", 5, 23, 40, 8, AlignRight},
    {ControlKind::Edit, IDC_CODE, "", 50, 21, 60, 12, Border | TabStop},
    {ControlKind::GroupBox, IDC_STATIC, "&Remarks", 5, 40, 170, 60, NoStyle},
    {ControlKind::Edit, IDC_NOTES, "", 10, 52, 160, 40,
        MultiLine | Border | AutoHorizontalScroll | AutoVerticalScroll | WantReturn | TabStop},
    {ControlKind::PushButton, IDC_MORE, "&More", 5, 105, 50, 15, TabStop},
    {ControlKind::DefaultPushButton, IDOK, "OK", 70, 105, 50, 15, TabStop},
    {ControlKind::PushButton, IDCANCEL, "Cancel", 125, 105, 50, 15, TabStop},
};
constexpr DialogTemplate kDialog {900, "Details", 180, 125, "MS Sans Serif", 8, kControls};

template <typename T> T& ControlOf(QDialog& dialog, int id)
{
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->property("controlId").toInt() == id && qobject_cast<T*>(widget))
            return *static_cast<T*>(widget);
    }
    throw std::runtime_error("no control " + std::to_string(id));
}

// The style of a desktop whose message boxes give their buttons icons, as X11's does.
class IconButtonStyle final : public QProxyStyle {
public:
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override
    {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons ? 1 : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

class DialogBehaviourTest : public testing::Test {
protected:
    // Runs the dialog; `act` plays the user once it shows.
    int Run(std::function<void(QtDialogWindow&, QDialog&)> act)
    {
        QtDialogWindow window(*m_template, m_events, nullptr);
        m_driver.Expect("the dialog", [&](QWidget& shown) { act(window, static_cast<QDialog&>(shown)); });
        return window.Run();
    }

    const DialogTemplate* m_template = &kDialog;
    DialogEventsRecorder m_events;
    ModalDriver m_driver;
};

TEST_F(DialogBehaviourTest, EnterPressesTheDefaultButtonEscAndTheCloseBoxAskForCancel)
{
    EXPECT_EQ(Run([](QtDialogWindow&, QDialog&) {
        QTest::keyClicks(QApplication::focusWidget(), "Ann");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }),
        IDOK);
    EXPECT_EQ(m_events.commands, std::vector<int> {IDOK});

    EXPECT_EQ(Run([](QtDialogWindow&, QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }), IDCANCEL);
    EXPECT_EQ(Run([](QtDialogWindow&, QDialog& dialog) { dialog.close(); }), IDCANCEL);
    EXPECT_EQ(m_events.commands, (std::vector<int> {IDOK, IDCANCEL, IDCANCEL}));
}

TEST_F(DialogBehaviourTest, ACommandTheProgramRefusesLeavesTheDialogOpenWithItsMessageShown)
{
    QtWindowSystem windows;
    std::string message;
    int nameLength = 0;
    m_events.onCommand = [&](DialogWindow& dialog, int id) {
        if (id == IDCANCEL)
            dialog.EndDialog(IDCANCEL);
        if (id != IDOK)
            return;
        if (dialog.GetControlText(IDC_NAME).size() < 4) {
            windows.ShowMessageBox({"Please enter a name of at least 4 characters", "Sekreta"});
            dialog.SetFocus(IDC_NAME);
            dialog.SelectAllText(IDC_NAME);
            return;
        }
        nameLength = static_cast<int>(dialog.GetControlText(IDC_NAME).size());
        dialog.EndDialog(IDOK);
    };
    const int result = Run([&](QtDialogWindow&, QDialog& dialog) {
        m_driver.Expect("the message", [&](QWidget& box) {
            message = static_cast<QMessageBox&>(box).text().toStdString();
            static_cast<QMessageBox&>(box).button(QMessageBox::Ok)->click();
        });
        QTest::keyClicks(&ControlOf<QLineEdit>(dialog, IDC_NAME), "Ann");
        ControlOf<QPushButton>(dialog, IDOK).click();
        // Back from the message: still open, the name field focused with its text selected.
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), &ControlOf<QLineEdit>(dialog, IDC_NAME));
        EXPECT_EQ(ControlOf<QLineEdit>(dialog, IDC_NAME).selectedText(), "Ann");
        QTest::keyClicks(&ControlOf<QLineEdit>(dialog, IDC_NAME), "Annabel");
        ControlOf<QPushButton>(dialog, IDOK).click();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(message, "Please enter a name of at least 4 characters");
    EXPECT_EQ(nameLength, 7);
    EXPECT_EQ(m_events.commands, (std::vector<int> {IDOK, IDOK}));
}

TEST_F(DialogBehaviourTest, MnemonicsMoveTheFocusToTheNextFieldAndPressButtons)
{
    Run([&](QtDialogWindow&, QDialog& dialog) {
        QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), &ControlOf<QLineEdit>(dialog, IDC_CODE)) << "label C&ode:";
        QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), &ControlOf<QLineEdit>(dialog, IDC_NAME)) << "label &Name:";
        QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), &ControlOf<QPlainTextEdit>(dialog, IDC_NOTES)) << "group box &Remarks";
        QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), &ControlOf<QPlainTextEdit>(dialog, IDC_NOTES)) << "no such mnemonic";
        ControlOf<QPushButton>(dialog, IDC_MORE).click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(m_events.commands, (std::vector<int> {IDC_MORE, IDCANCEL}));
    // The label shows its letter underlined, not the ampersand.
    QtDialogWindow window(kDialog, m_events, nullptr);
    EXPECT_NE(ControlOf<QLabel>(window.Widget(), IDC_STATIC).buddy(), nullptr);
}

TEST_F(DialogBehaviourTest, EnterInTheNotesAddsALineWhichComesBackAsCarriageReturnLineFeed)
{
    std::string notes;
    m_events.onCommand = [&](DialogWindow& dialog, int id) {
        notes = dialog.GetControlText(IDC_NOTES);
        dialog.EndDialog(id);
    };
    const int result = Run([&](QtDialogWindow&, QDialog& dialog) {
        auto& field = ControlOf<QPlainTextEdit>(dialog, IDC_NOTES);
        EXPECT_EQ(field.lineWrapMode(), QPlainTextEdit::NoWrap);
        field.setFocus();
        QTest::keyClicks(&field, "first line that is long enough to run past the right edge of the field");
        QTest::keyClick(&field, Qt::Key_Return);
        QTest::keyClicks(&field, "second");
        QTest::keyClick(&field, Qt::Key_Return);
        QTest::keyClicks(&field, "third");
        EXPECT_TRUE(dialog.isVisible()) << "Enter in the notes does not close the dialog";
        QTest::keyClick(&ControlOf<QLineEdit>(dialog, IDC_NAME), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(notes, "first line that is long enough to run past the right edge of the field\r\nsecond\r\nthird");
}

// 48 characters in any font: of what is typed or pasted, wherever and over whatever selection,
// the field keeps the start that fits, counted in code points, and every refusal beeps.
TEST_F(DialogBehaviourTest, ThePassPhraseFieldTakes48CharactersInEveryFont)
{
    struct Case {
        QString typed;
        int from, length;
        QString pasted, kept;
        int beeps;
    };
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"), narrow(45, u'i');
    const Case cases[] = {{QString(60, u'W'), 0, 0, "", QString(48, u'W'), 12},
        {"", 0, 0, QString(60, u'W'), QString(48, u'W'), 1}, {"", 0, 0, clef.repeated(60), clef.repeated(48), 1},
        {narrow, 10, 0, "0123456789", narrow.left(10) + "012" + narrow.mid(10), 1},
        {narrow, 5, 5, QString(20, u'x'), narrow.left(5) + QString(8, u'x') + narrow.mid(10), 1}};
    m_template = SekretaResources().FindDialog(IDD_PASSPHRASE);
    const QFont original = QApplication::font();
    for (const int pointSize : {8, 24}) {
        QApplication::setFont(QFont(original.family(), pointSize));
        for (const Case& test : cases) {
            const int beeps = qt::DesktopBeep::Count();
            std::string kept;
            Run([&](QtDialogWindow& window, QDialog& dialog) {
                auto& field = ControlOf<QLineEdit>(dialog, IDC_PASSPHRASE);
                QTest::keyClicks(&field, test.typed);
                field.setSelection(test.from, test.length);
                QApplication::clipboard()->setText(test.pasted);
                QTest::keySequence(&field, QKeySequence::Paste);
                kept = window.GetControlText(IDC_PASSPHRASE);
                QTest::keyClick(&field, Qt::Key_Return);
            });
            EXPECT_EQ(kept, test.kept.toStdString()) << pointSize << " points";
            EXPECT_EQ(qt::DesktopBeep::Count() - beeps, test.beeps) << test.kept.toStdString();
        }
    }
    QApplication::setFont(original);
}

// Opened and closed with OK, the entry dialog gives back every field byte for byte, whatever it
// holds and however long, and shows each from its beginning; an edited field comes back as typed.
TEST_F(DialogBehaviourTest, TheEntryDialogGivesBackWhatTheUserDidNotEdit)
{
    using Record = std::vector<std::string>;
    const int ids[] = {IDC_ACCOUNT, IDC_URL, IDC_USER, IDC_PASSWORD, IDC_NOTES};
    const Record spaces = {"Caf\xC3\xA9\xC2\xA0.", "", "no\xA0.", "tab\t.", "a\xE2\x80\xA8.\xE2\x80\xA9.\xC2\xA0"};
    m_template = SekretaResources().FindDialog(IDD_ENTRY);
    const auto open = [&](const Record& record, const QString& typedIntoTheNotes) {
        m_events.onInit = [&](DialogWindow& dialog) {
            for (std::size_t field = 0; field < record.size(); ++field)
                dialog.SetControlText(ids[field], record[field]);
        };
        Record returned(record.size());
        Run([&](QtDialogWindow& window, QDialog& dialog) {
            auto& account = ControlOf<QLineEdit>(dialog, IDC_ACCOUNT);
            EXPECT_EQ(account.selectedText(), account.text()) << "the focused field has its text selected";
            for (const int id : {IDC_ACCOUNT, IDC_URL, IDC_PASSWORD})
                EXPECT_EQ(ControlOf<QLineEdit>(dialog, id).cursorPosition(), 0) << id;
            QTest::keyClicks(&ControlOf<QPlainTextEdit>(dialog, IDC_NOTES), typedIntoTheNotes);
            for (std::size_t field = 0; field < returned.size(); ++field)
                returned[field] = window.GetControlText(ids[field]);
            QTest::keyClick(&account, Qt::Key_Return);
        });
        return returned;
    };
    for (const Record& record : {spaces, Record {"lone\rCR", "lone\nLF", "", "", "CR\r LF\n CR LF\r\n"},
             Record {"\xE9t\xE9", "\x80", "\xFF\xFE", "\x93quoted\x94", "\x8C\r\n"},
             Record {std::string(300, 'a'), "https://" + std::string(39992, 'u'), "", std::string(33000, 'p'), ""}})
        EXPECT_TRUE(open(record, "") == record) << record[0].substr(0, 10);
    EXPECT_EQ(open(spaces, "!")[4], "!a\xE2\x80\xA8.\r\n.\xC2\xA0");
}

TEST_F(DialogBehaviourTest, TheGeneratorShowsItsFocusAtOnceAndItsButtonsLookLikeAMessageBoxs)
{
    QApplication::setStyle(new IconButtonStyle);
    QtDialogWindow window(*SekretaResources().FindDialog(IDD_GENERATOR), m_events, nullptr);
    QImage focused, unfocused;
    m_driver.Expect("Generate Password", [&](QWidget& dialog) {
        QWidget& lower = *QApplication::focusWidget();  // the a-z check box
        focused = lower.grab().toImage();
        lower.clearFocus();
        unfocused = lower.grab().toImage();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    window.Run();
    EXPECT_NE(focused, unfocused);
    QMessageBox box;
    const auto picture = [](const QAbstractButton* button) { return button->icon().pixmap(16).toImage(); };
    EXPECT_FALSE(picture(box.addButton(QMessageBox::Ok)).isNull());
    EXPECT_EQ(picture(&ControlOf<QPushButton>(window.Widget(), IDOK)), picture(box.button(QMessageBox::Ok)));
    EXPECT_EQ(picture(&ControlOf<QPushButton>(window.Widget(), IDCANCEL)), picture(box.addButton(QMessageBox::Cancel)));
    QApplication::setStyle(QStringLiteral("Fusion"));
}

TEST_F(DialogBehaviourTest, TextsThatAreNotUtf8ComeBackUnchangedUnlessEdited)
{
    // "Café" and "Œuvre" as a file written on Windows holds them.
    const std::string windows1252 = "Caf\xE9";
    const std::string notes = "\x8C"
                              "uvre\r\nline two";
    std::vector<std::string> returned;
    m_events.onInit = [&](DialogWindow& dialog) {
        dialog.SetControlText(IDC_NAME, windows1252);
        dialog.SetControlText(IDC_CODE, windows1252);
        dialog.SetControlText(IDC_NOTES, notes);
    };
    m_events.onCommand = [&](DialogWindow& dialog, int id) {
        for (const int field : {IDC_NAME, IDC_CODE, IDC_NOTES})
            returned.push_back(dialog.GetControlText(field));
        dialog.EndDialog(id);
    };
    Run([&](QtDialogWindow&, QDialog& dialog) {
        EXPECT_EQ(ControlOf<QLineEdit>(dialog, IDC_NAME).text(), QStringLiteral("Caf\u00E9"));
        EXPECT_EQ(ControlOf<QPlainTextEdit>(dialog, IDC_NOTES).toPlainText(), QStringLiteral("\u0152uvre\nline two"));
        auto& code = ControlOf<QLineEdit>(dialog, IDC_CODE);
        code.setFocus();
        code.end(false);
        QTest::keyClicks(&code, "s");
        QTest::keyClick(&code, Qt::Key_Return);
    });
    EXPECT_EQ(returned, (std::vector<std::string> {windows1252, "Caf\xC3\xA9s", notes}));
}

}  // namespace
}  // namespace sekreta::test
