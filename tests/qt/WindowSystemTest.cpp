// Message boxes, the Open and Save As dialogs, the wait cursor, the clipboard and the loop.
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFileChooser.h"
#include "platform/qt/QtWindowSystem.h"
#include "qt/ModalDriver.h"
#include "support/TemporaryFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>

#include <gtest/gtest.h>

namespace sekreta::test {
namespace {

using namespace platform;
using platform::qt::QtFileChooser;
using platform::qt::QtWindowSystem;

struct Shown {
    std::string caption;
    std::string text;
    QMessageBox::Icon icon;
    std::vector<std::string> buttons;
    std::string defaultButton;
    std::string copied;
};

std::string Plain(const QString& text)
{
    return QString(text).remove(u'&').toStdString();
}

class WindowSystemTest : public testing::Test {
protected:
    // Shows the box and answers it with the button whose text is `answer`.
    int Answer(const MessageBoxRequest& request, const QString& answer, Shown& shown)
    {
        m_driver.Expect("message box", [&](QWidget& window) {
            auto& box = static_cast<QMessageBox&>(window);
            shown = {box.windowTitle().toStdString(), box.text().toStdString(), box.icon(), {},
                box.defaultButton() ? Plain(box.defaultButton()->text()) : "", {}};
            for (QAbstractButton* button : box.buttons())
                shown.buttons.push_back(Plain(button->text()));
            std::sort(shown.buttons.begin(), shown.buttons.end());
            QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
            shown.copied = QGuiApplication::clipboard()->text().toStdString();
            if (answer == "Esc") {
                QTest::keyClick(&box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box.buttons()) {
                if (Plain(button->text()) == answer.toStdString())
                    button->click();
            }
        });
        return m_windows.ShowMessageBox(request);
    }

    QtWindowSystem m_windows;
    ModalDriver m_driver;
};

TEST_F(WindowSystemTest, MessageBoxesHaveTheCaptionButtonsAndIconAskedFor)
{
    Shown shown;
    EXPECT_EQ(Answer({"Save changes to Letters.sek?", "Sekreta", MessageButtons::YesNoCancel, MessageIcon::Exclamation},
                  "No", shown),
        IDNO);
    EXPECT_EQ(shown.caption, "Sekreta");
    EXPECT_EQ(shown.text, "Save changes to Letters.sek?");
    EXPECT_EQ(shown.icon, QMessageBox::Warning);
    EXPECT_EQ(shown.buttons, (std::vector<std::string> {"Cancel", "No", "Yes"}));
    EXPECT_EQ(shown.defaultButton, "Yes");
    EXPECT_EQ(shown.copied,
        "---------------------------\nSekreta\n---------------------------\nSave changes to Letters.sek?\n"
        "---------------------------\nYes   No   Cancel\n---------------------------\n")
        << "Ctrl+C copies the box";

    EXPECT_EQ(Answer({"Save changes to Letters.sek?", "Sekreta", MessageButtons::YesNoCancel, MessageIcon::Exclamation},
                  "Esc", shown),
        IDCANCEL);
    EXPECT_EQ(Answer({"Please enter a pass phrase of at least 4 characters", "Sekreta"}, "OK", shown), IDOK);
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, std::vector<std::string> {"OK"});
    EXPECT_EQ(Answer({"Sure?", "Sekreta", MessageButtons::YesNo, MessageIcon::Question}, "Yes", shown), IDYES);
    EXPECT_EQ(shown.icon, QMessageBox::Question);
    EXPECT_EQ(
        Answer({"Go on?", "Sekreta", MessageButtons::OkCancel, MessageIcon::Information}, "Cancel", shown), IDCANCEL);
    EXPECT_EQ(shown.icon, QMessageBox::Information);
    EXPECT_EQ(Answer({"Access to /tmp/<b>\xE9.sek was denied.", "Sekreta", MessageButtons::Ok, MessageIcon::Stop}, "OK",
                  shown),
        IDOK);
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.text, "Access to /tmp/<b>\xC3\xA9.sek was denied.") << "plain text, shown as Windows-1252";
}

FileDialogRequest OpenRequest()
{
    FileDialogRequest request;
    request.title = "Open";
    request.filters = {{"Sekreta Files (*.sek)", "*.sek"}, {"All Files (*.*)", "*.*"}};
    request.defaultExtension = "sek";
    request.fileMustExist = true;
    request.pathMustExist = true;
    request.hideReadOnly = true;
    return request;
}

TEST_F(WindowSystemTest, TheFileDialogsHaveTheirTitlesFiltersExtensionAndOptions)
{
    QFileDialog open;
    QtFileChooser::Prepare(open, OpenRequest());
    EXPECT_EQ(open.windowTitle(), "Open");
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open.nameFilters(), (QStringList {"Sekreta Files (*.sek)", "All Files (*)"}));
    EXPECT_EQ(open.selectedNameFilter(), "Sekreta Files (*.sek)");
    EXPECT_EQ(open.defaultSuffix(), "sek");
    FileDialogRequest inFolder = OpenRequest();
    inFolder.initialFolder = "/tmp";
    QtFileChooser::Prepare(open, inFolder);
    EXPECT_EQ(open.directory().absolutePath(), "/tmp");

    FileDialogRequest save = OpenRequest();
    save.kind = FileDialogRequest::Kind::Save;
    save.title = "Save As";
    save.fileMustExist = false;
    save.confirmOverwrite = true;
    save.initialName = "Untitled.sek";
    QFileDialog saveAs;
    QtFileChooser::Prepare(saveAs, save);
    EXPECT_EQ(saveAs.windowTitle(), "Save As");
    EXPECT_EQ(saveAs.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(saveAs.fileMode(), QFileDialog::AnyFile);
    EXPECT_FALSE(saveAs.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(saveAs.defaultSuffix(), "sek");
}

TEST_F(WindowSystemTest, ANameGetsTheDefaultExtensionAFolderThatIsNotThereIsRefusedCancelChoosesNothing)
{
    TemporaryFolder folder;
    FileDialogRequest save = OpenRequest();
    save.kind = FileDialogRequest::Kind::Save;
    save.title = "Save As";
    save.fileMustExist = false;
    save.initialName = folder / "Untitled.sek";
    m_driver.Expect("Save As", [](QWidget& window) {
        auto& dialog = static_cast<QFileDialog&>(window);
        EXPECT_EQ(dialog.windowTitle(), "Save As");
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "Untitled.sek");
        name->setText("missing/letters");
        static_cast<QDialog&>(dialog).accept();
    });
    m_driver.Expect("folder refused", [&folder](QWidget& window) {
        EXPECT_EQ(static_cast<QMessageBox&>(window).text().toStdString(),
            (folder / "missing/letters.sek").string() + "\nPath does not exist.\nCheck the path and try again.");
        static_cast<QMessageBox&>(window).button(QMessageBox::Ok)->click();
    });
    m_driver.Expect("Save As again", [](QWidget& window) { static_cast<QDialog&>(window).accept(); });
    EXPECT_EQ(m_windows.ChooseFile(save), std::optional<std::filesystem::path>(folder / "letters.sek"));

    m_driver.Expect("Open", [](QWidget& window) { static_cast<QFileDialog&>(window).reject(); });
    EXPECT_EQ(m_windows.ChooseFile(OpenRequest()), std::nullopt);
}

TEST_F(WindowSystemTest, TheWaitCursorIsCountedAndTheClipboardTakesPlainText)
{
    m_windows.SetWaitCursor(true);
    m_windows.SetWaitCursor(true);
    m_windows.SetWaitCursor(false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    m_windows.SetWaitCursor(false);
    m_windows.SetWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(m_windows.IsWaitCursorShown());

    platform::qt::QtClipboard clipboard;
    const QString hint = QStringLiteral("x-kde-passwordManagerHint");
    EXPECT_TRUE(clipboard.SetSecretText("s3cr\xC3\xA9t"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("s3cr\u00E9t"));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(hint), "secret");
    EXPECT_TRUE(clipboard.SetText("p\xE4ss\x80"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("p\u00E4ss\u20AC"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat(hint));
    EXPECT_TRUE(clipboard.SetText(""));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

TEST_F(WindowSystemTest, TheLoopRunsUntilQuitAndEndsAtOnceWhenQuitCameFirst)
{
    QTimer::singleShot(0, [this] { m_windows.Quit(4); });
    EXPECT_EQ(m_windows.RunMessageLoop(), 4);

    QtWindowSystem early;
    early.Quit(3);
    EXPECT_EQ(early.RunMessageLoop(), 3);
}

}  // namespace
}  // namespace sekreta::test
