#pragma once

#include "app/CSekretaApp.h"
#include "app/CSekretaDoc.h"
#include "platform/headless/HeadlessFrameWindow.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace sekreta::test {

// Sekreta started on the headless backend with `arguments`, in a fresh folder that is also the
// current one. With no arguments it shows an empty untitled document.
class ProgramTest : public testing::Test {
protected:
    ProgramTest();
    // Without `startEmpty` the test starts the program itself, with Start.
    explicit ProgramTest(bool startEmpty);
    ~ProgramTest() override;

    // Makes the program and runs its start-up; false when it ended there.
    bool Start(std::vector<std::string> arguments);
    // The program ends as after its message loop: the settings are written.
    void Exit();

    platform::HeadlessFrameWindow& Frame();
    CSekretaDoc& Doc();
    std::vector<std::string> ListAccounts();

    // A .sek file written by the storage code itself.
    std::filesystem::path WriteFile(
        const std::string& name, const std::vector<AccountRecord>& records, const std::string& passPhrase);
    // The records of a file on disk under exactly these pass phrase bytes, or nothing.
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
    // The question Save asks before it replaces a file that another program changed.
    static std::string ChangedOnDisk(const std::filesystem::path& path);

    platform::HeadlessPlatform m_platform;
    TemporaryFolder m_folder;
    std::unique_ptr<CSekretaApp> m_app;
};

}  // namespace sekreta::test
