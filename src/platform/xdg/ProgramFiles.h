#pragma once

#include <filesystem>
#include <optional>

namespace sekreta::platform {

// The absolute path of the running program, its links resolved; nothing when the system does
// not tell it.
std::optional<std::filesystem::path> RunningExecutable();

// Where this build's user guide is looked for.
struct UserGuidePlaces {
    // From the folder of an installed executable to the installed guide.
    std::filesystem::path installedFromProgramFolder;
    // The build tree: a program inside it has not been installed...
    std::filesystem::path buildTree;
    // ...and shows the guide of the source tree it was built from.
    std::filesystem::path sourceGuide;

    // The places this program was configured with.
    static UserGuidePlaces OfThisBuild();
};

// The user guide for the program at `executable`: the installed guide beside it when there is
// one, else, for a program inside the build tree, the source tree's guide; nothing when
// neither exists.
std::optional<std::filesystem::path> FindUserGuide(
    const std::filesystem::path& executable, const UserGuidePlaces& places = UserGuidePlaces::OfThisBuild());

}  // namespace sekreta::platform
