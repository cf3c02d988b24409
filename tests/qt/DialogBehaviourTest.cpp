// What a person does in a dialog drawn by the Qt backend: Enter, Esc and the close box, a
// refused OK that keeps the dialog open, mnemonics, a multi-line field, a field as wide as its
// text, and texts whose bytes are not UTF-8.
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "qt/DialogEventsRecorder.h"
#include "qt/ModalDriver.h"
#include "resources/ResourceIds.h"
#include "resources/SekretaResources.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
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
        QtDialogWindow window(kDialog, m_events, nullptr);
        m_driver.Expect("the dialog", [&](QWidget& shown) { act(window, static_cast<QDialog&>(shown)); });
        return window.Run();
    }

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

TEST_F(DialogBehaviourTest, AFieldThatDoesNotScrollTakesOnlyWhatItsWidthShows)
{
    std::string code;
    m_events.onCommand = [&](DialogWindow& dialog, int id) {
        code = dialog.GetControlText(IDC_CODE);
        dialog.EndDialog(id);
    };
    int visibleWidth = 0;
    Run([&](QtDialogWindow&, QDialog& dialog) {
        auto& field = ControlOf<QLineEdit>(dialog, IDC_CODE);
        visibleWidth = field.contentsRect().width();
        field.setFocus();
        QTest::keyClicks(&field, QString(200, u'W'));
        QTest::keyClick(&field, Qt::Key_Return);
    });
    const QFontMetrics metrics(QApplication::font());
    ASSERT_FALSE(code.empty());
    EXPECT_LT(code.size(), 200u);
    EXPECT_EQ(code, std::string(code.size(), 'W'));
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(code)), visibleWidth);
    EXPECT_GT(metrics.horizontalAdvance(QString::fromStdString(code + "WW")), visibleWidth - 8)
        << "the field is filled up to its edge";
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
