// Sekreta itself on the Qt backend, used as a person uses it: open a file with its pass phrase,
// add an entry through the entry dialog, copy its password, save, and open the file again.
#include "app/CSekretaApp.h"
#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "framework/FrameworkIds.h"
#include "platform/headless/CrtRandomSource.h"
#include "platform/headless/HeadlessDocumentTypes.h"
#include "platform/headless/HeadlessRegistry.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFrameWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "qt/ModalDriver.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"
#include "storage/RecordFile.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace sekreta::test {
namespace {

const std::vector<AccountRecord> kLetters = {
    {"Bank", "https://bank.example", "me", "b4nk", ""},
    {"Mail", "https://mail.example", "me@mail", "m41l", "first\r\nsecond"},
};

template <typename T> T& ControlOf(QWidget& dialog, int id)
{
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->property("controlId").toInt() == id && qobject_cast<T*>(widget))
            return *static_cast<T*>(widget);
    }
    throw std::runtime_error("no control " + std::to_string(id));
}

// The session manager's side of a log-off: the steps the program takes, in order.
struct SessionSteps final : platform::qt::QtSessionEnd::Manager {
    bool AllowsInteraction() override
    {
        steps.emplace_back("may I ask?");
        return allowsInteraction;
    }
    void Release() override { steps.emplace_back("release"); }
    void Cancel() override { steps.emplace_back("cancel"); }
    bool allowsInteraction = true;
    std::vector<std::string> steps;
};

class ProgramFlowTest : public testing::Test {
protected:
    ~ProgramFlowTest() override
    {
        m_driver.VerifyAllUsed();
        m_app.reset();
    }

    platform::Platform Services()
    {
        return {m_windows, m_files, m_clipboard, m_shell, m_settings, m_documentTypes, m_random, m_clock};
    }
    bool Start(std::vector<std::string> arguments)
    {
        m_app = std::make_unique<CSekretaApp>(Services(), "/usr/bin/sekreta", std::move(arguments));
        if (!m_app->InitInstance())
            return false;
        QMainWindow& window = Frame().Widget();
        return QTest::qWaitForWindowActive(&window);
    }
    platform::qt::QtFrameWindow& Frame() { return *m_windows.Frames().front(); }
    QTreeView& List() { return Frame().QtList().View(); }
    std::vector<std::string> Accounts()
    {
        QApplication::processEvents();
        std::vector<std::string> accounts;
        for (int row = 0; row < List().model()->rowCount(); ++row)
            accounts.push_back(List().model()->index(row, 0).data().toString().toStdString());
        return accounts;
    }
    int SelectedRow()
    {
        const QModelIndexList selected = List().selectionModel()->selectedIndexes();
        return selected.size() == 1 ? selected.front().row() : -1;
    }
    void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&List(), key, modifiers);
    }

    std::filesystem::path WriteFile(const std::string& name, const std::vector<AccountRecord>& records)
    {
        CMemFile memory;
        CArchive archive(memory, CArchive::store);
        StoreRecords(archive, records, "letters");
        archive.Close();
        const std::filesystem::path path = m_folder / name;
        WriteBytes(path, memory.Detach());
        return path;
    }
    std::vector<AccountRecord> ReadFile(const std::filesystem::path& path)
    {
        CMemFile memory(ReadBytes(path));
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> records;
        LoadRecords(archive, records, "letters");
        return records;
    }

    // The pass phrase dialog: `typed` and Enter.
    void ExpectPassPhrase(const QString& typed)
    {
        m_driver.Expect("Enter Passphrase", [typed](QWidget& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Enter Passphrase");
            auto& field = ControlOf<QLineEdit>(dialog, IDC_PASSPHRASE);
            EXPECT_EQ(QApplication::focusWidget(), &field);
            QTest::keyClicks(&field, typed);
            QTest::keyClick(&field, Qt::Key_Return);
        });
    }

    platform::qt::QtWindowSystem m_windows;
    platform::PosixFileSystem m_files;
    platform::qt::QtClipboard m_clipboard;
    platform::HeadlessShell m_shell;
    platform::HeadlessRegistry m_settings;
    platform::HeadlessDocumentTypes m_documentTypes;
    platform::CrtRandomSource m_random {1};
    platform::HeadlessClock m_clock;
    TemporaryFolder m_folder;
    ModalDriver m_driver;
    std::unique_ptr<CSekretaApp> m_app;
};

TEST_F(ProgramFlowTest, OpenAddCopySaveAndOpenAgain)
{
    const std::filesystem::path path = WriteFile("Letters.sek", kLetters);
    ExpectPassPhrase("letters");
    ASSERT_TRUE(Start({path.string()}));
    EXPECT_EQ(Frame().Widget().windowTitle(), "Letters.sek - Sekreta");
    EXPECT_EQ(Accounts(), (std::vector<std::string> {"Bank", "Mail"}));
    EXPECT_EQ(SelectedRow(), 1) << "the last row";

    // Edit > Add, through the entry dialog.
    m_driver.Expect("Account Entry", [](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Account Entry");
        EXPECT_EQ(ControlOf<QLineEdit>(dialog, IDC_URL).text(), "http://");
        QTest::keyClicks(&ControlOf<QLineEdit>(dialog, IDC_ACCOUNT), "Shop");
        ControlOf<QLineEdit>(dialog, IDC_URL).selectAll();
        QTest::keyClicks(&ControlOf<QLineEdit>(dialog, IDC_URL), "https://shop.example");
        QTest::keyClicks(&ControlOf<QLineEdit>(dialog, IDC_USER), "buyer");
        QTest::keyClicks(&ControlOf<QLineEdit>(dialog, IDC_PASSWORD), "sh0p-pw");
        auto& notes = ControlOf<QPlainTextEdit>(dialog, IDC_NOTES);
        notes.setFocus();
        QTest::keyClicks(&notes, "card");
        QTest::keyClick(&notes, Qt::Key_Return);
        QTest::keyClicks(&notes, "1234");
        ControlOf<QPushButton>(dialog, platform::IDOK).click();
    });
    QTest::keyClick(&Frame().Widget(), Qt::Key_E, Qt::AltModifier);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
    EXPECT_EQ(Accounts(), (std::vector<std::string> {"Bank", "Mail", "Shop"}));
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(List().model()->index(2, 1).data().toString(), "buyer");
    EXPECT_EQ(List().model()->index(2, 2).data().toString(), "https://shop.example");
    EXPECT_EQ(Frame().Widget().windowTitle(), "Letters.sek - Sekreta");

    Keys(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "sh0p-pw");
    Keys(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "buyer");

    Keys(Qt::Key_S, Qt::ControlModifier);
    const std::vector<AccountRecord> saved = ReadFile(path);
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[2], (AccountRecord {"Shop", "https://shop.example", "buyer", "sh0p-pw", "card\r\n1234"}));
    EXPECT_EQ(saved[1], kLetters[1]);

    // File > New forgets the pass phrase; File > Open asks for it again.
    Keys(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Frame().Widget().windowTitle(), "Untitled - Sekreta");
    EXPECT_TRUE(Accounts().empty());
    m_driver.Expect("Open", [&path](QWidget& window) {
        auto& dialog = static_cast<QFileDialog&>(window);
        EXPECT_EQ(dialog.windowTitle(), "Open");
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path.string()));
        static_cast<QDialog&>(dialog).accept();
    });
    ExpectPassPhrase("letters");
    Keys(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Frame().Widget().windowTitle(), "Letters.sek - Sekreta");
    EXPECT_EQ(Accounts(), (std::vector<std::string> {"Bank", "Mail", "Shop"}));
}

TEST_F(ProgramFlowTest, LoggingOffAsksLeaveBeforeThePromptAndEndsOnlyWithTheSession)
{
    ExpectPassPhrase("letters");
    ASSERT_TRUE(Start({WriteFile("Letters.sek", kLetters).string()}));
    Keys(Qt::Key_D, Qt::ControlModifier);
    // The answer to the prompt; none when the session manager refuses leave to show it.
    for (const auto& [answer, steps] :
        {std::pair {QMessageBox::NoButton, std::vector<std::string> {"may I ask?", "cancel"}},
            {QMessageBox::Cancel, {"may I ask?", "cancel", "release"}}, {QMessageBox::No, {"may I ask?", "release"}}}) {
        if (answer != QMessageBox::NoButton) {
            m_driver.Expect("Save changes to Letters.sek?",
                [answer](QWidget& box) { static_cast<QMessageBox&>(box).button(answer)->click(); });
        }
        SessionSteps manager;
        manager.allowsInteraction = answer != QMessageBox::NoButton;
        EXPECT_EQ(m_windows.Session().Query(manager), answer == QMessageBox::No);
        EXPECT_EQ(manager.steps, steps);
        EXPECT_TRUE(Frame().IsVisible()) << "nothing ends before the session does";
    }
    QEvent quit(QEvent::Quit);  // the session ends
    QApplication::sendEvent(qApp, &quit);
    EXPECT_FALSE(Frame().IsVisible()) << "closed without a question";
}

TEST_F(ProgramFlowTest, AShortPassPhraseIsRefusedWithItsMessageAndTheDialogStaysOpen)
{
    const std::filesystem::path path = WriteFile("Letters.sek", kLetters);
    std::string message;
    bool stillOpen = false;
    m_driver.Expect("Enter Passphrase", [&](QWidget& dialog) {
        auto& field = ControlOf<QLineEdit>(dialog, IDC_PASSPHRASE);
        m_driver.Expect("the message", [&](QWidget& box) {
            message = static_cast<QMessageBox&>(box).text().toStdString();
            EXPECT_EQ(box.windowTitle(), "Sekreta");
            EXPECT_EQ(static_cast<QMessageBox&>(box).icon(), QMessageBox::NoIcon);
            QTest::keyClick(&box, Qt::Key_Return);
        });
        QTest::keyClicks(&field, "let");
        QTest::keyClick(&field, Qt::Key_Return);
        stillOpen = dialog.isVisible();
        EXPECT_EQ(field.text(), "let");
        EXPECT_EQ(dialog.focusWidget(), &field);
        field.end(false);
        QTest::keyClicks(&field, "ters");
        QTest::keyClick(&field, Qt::Key_Return);
    });
    ASSERT_TRUE(Start({path.string()}));
    EXPECT_EQ(message, "Please enter a pass phrase of at least 4 characters");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(Accounts(), (std::vector<std::string> {"Bank", "Mail"}));
}

TEST_F(ProgramFlowTest, AWrongPassPhraseEndsTheStartWithItsMessage)
{
    const std::filesystem::path path = WriteFile("Letters.sek", kLetters);
    ExpectPassPhrase("wrong one");
    std::string message;
    m_driver.Expect("the message", [&](QWidget& box) {
        message = static_cast<QMessageBox&>(box).text().toStdString();
        EXPECT_EQ(static_cast<QMessageBox&>(box).icon(), QMessageBox::Warning);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_FALSE(Start({path.string()}));
    EXPECT_EQ(message, "Unexpected file format.");
}

}  // namespace
}  // namespace sekreta::test
