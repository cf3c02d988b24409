#pragma once

#include "framework/CListView.h"
#include "framework/CWinApp.h"
#include "platform/headless/HeadlessFrameWindow.h"
#include "platform/headless/HeadlessPlatform.h"
#include "app/AccountListView.h"
#include "app/CSekretaDoc.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace sekreta::test {

// A list view reduced to what the document asks of it: one row per record, account, user, URL.
class TestListView : public CListView, public AccountListView {
public:
    static const CRuntimeClass classTestListView;
    const CRuntimeClass* GetRuntimeClass() const override;

    void OnInitialUpdate() override;
    void FillList(const std::vector<AccountRecord>& records) override;
    void AddEntry(const AccountRecord& record) override;
    void SetEntry(int index, const AccountRecord& record) override;
    void RemoveEntry(int index) override;
    int GetSelectedIndex() const override;

    int m_fills = 0;
};

// The program with the real document, resources and framework, a plain frame and the view above.
class TestApp : public CWinApp {
public:
    explicit TestApp(platform::Platform platform);
    static const CommandMap& ClassCommandMap();

protected:
    const CommandMap& GetCommandMap() const override;
};

// A running program on the headless backend, with an empty untitled document, in a fresh folder
// that is also the current one.
class ProgramTest : public testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    platform::HeadlessFrameWindow& Frame();
    CSekretaDoc& Doc();
    std::vector<std::string> ListAccounts();

    // A .sek file written by the storage code itself.
    std::filesystem::path WriteFile(
        const std::string& name, const std::vector<AccountRecord>& records, const std::string& passPhrase);
    // The records of a file on disk under a pass phrase, or nothing when it does not load.
    std::optional<std::vector<AccountRecord>> ReadFile(
        const std::filesystem::path& path, const std::string& passPhrase);
    // Scripts are queued before the action that shows them, in the order they appear.
    // The Open or Save As dialog appears and `path` is chosen.
    void ExpectFileDialog(const std::filesystem::path& path);
    // File > Open, with whatever appears on the way scripted beforehand.
    void ChooseOpen();
    // The pass phrase dialog appears and is answered with `passPhrase` and OK.
    void ExpectPassPhrase(const std::string& passPhrase);
    // The pass phrase dialog appears and is cancelled.
    void ExpectPassPhraseCancelled();
    // A message box with exactly this text appears and is answered.
    void ExpectMessage(std::string text, int answer = platform::IDOK);

    platform::HeadlessPlatform m_platform;
    TemporaryFolder m_folder;
    std::unique_ptr<TestApp> m_app;
};

}  // namespace sekreta::test
