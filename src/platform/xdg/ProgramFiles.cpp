#include "platform/xdg/ProgramFiles.h"

#include <algorithm>

namespace sekreta::platform {

namespace {

bool IsRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool IsInside(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    const std::filesystem::path normal = folder.lexically_normal();
    const auto last = normal.has_filename() ? normal.end() : std::prev(normal.end());
    const std::filesystem::path candidate = path.lexically_normal();
    return std::mismatch(normal.begin(), last, candidate.begin(), candidate.end()).first == last;
}

}  // namespace

std::optional<std::filesystem::path> RunningExecutable()
{
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !program.is_absolute())
        return std::nullopt;
    return program;
}

UserGuidePlaces UserGuidePlaces::OfThisBuild()
{
    return {SEKRETA_GUIDE_FROM_PROGRAM_FOLDER, SEKRETA_BUILD_TREE, SEKRETA_SOURCE_GUIDE};
}

std::optional<std::filesystem::path> FindUserGuide(
    const std::filesystem::path& executable, const UserGuidePlaces& places)
{
    const std::filesystem::path installed
        = (executable.parent_path() / places.installedFromProgramFolder).lexically_normal();
    if (IsRegularFile(installed))
        return installed;
    if (IsInside(executable, places.buildTree) && IsRegularFile(places.sourceGuide))
        return places.sourceGuide;
    return std::nullopt;
}

}  // namespace sekreta::platform
