#pragma once

#include "framework/CWinApp.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/SekretaResources.h"

#include <gtest/gtest.h>

#include <string>

namespace sekreta::test {

// The program's resources and framework on the headless backend, with the C runtime's random
// formula under a fixed seed. Scripts are queued before the dialog they answer is run.
class DialogTest : public testing::Test {
protected:
    static constexpr std::uint32_t kSeed = 2024;

    ~DialogTest() override { m_platform.windows.VerifyAllScriptsUsed(); }

    platform::HeadlessWindowSystem& Windows() { return m_platform.windows; }
    // Every message box shown so far had the program's caption, an OK button and this icon.
    void ExpectEveryMessageBoxShown(platform::MessageIcon icon)
    {
        for (const platform::MessageBoxRequest& box : Windows().MessageBoxes()) {
            EXPECT_EQ(box.caption, "Sekreta") << box.text;
            EXPECT_EQ(box.buttons, platform::MessageButtons::Ok) << box.text;
            EXPECT_EQ(box.icon, icon) << box.text;
        }
    }

    platform::HeadlessPlatform m_platform {[](const std::string& problem) { ADD_FAILURE() << problem; }, kSeed};
    CWinApp m_app {m_platform.Get(), SekretaResources()};
};

}  // namespace sekreta::test
