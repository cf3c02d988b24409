#pragma once

#include "platform/Platform.h"
#include "platform/headless/CrtRandomSource.h"
#include "platform/headless/HeadlessDocumentTypes.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessRegistry.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/headless/HeadlessWindowSystem.h"

namespace sekreta::platform {

// Every service in memory (the file system is the real one), for one test.
class HeadlessPlatform {
public:
    explicit HeadlessPlatform(HeadlessWindowSystem::ProblemReporter reportProblem, std::uint32_t randomSeed = 1)
        : windows(std::move(reportProblem))
        , random(randomSeed)
    {
    }

    Platform Get() { return {windows, files, clipboard, shell, userSettings, documentTypes, random, clock}; }

    HeadlessWindowSystem windows;
    HeadlessFileSystem files;
    HeadlessClipboard clipboard;
    HeadlessShell shell;
    HeadlessRegistry userSettings;
    HeadlessDocumentTypes documentTypes;
    CrtRandomSource random;
    HeadlessClock clock;
};

}  // namespace sekreta::platform
