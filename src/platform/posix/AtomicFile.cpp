#include "platform/posix/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sekreta::platform {

namespace {

bool WriteAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// Creates the folder and any missing one above it, each open to the owner alone.
bool MakeFolders(const std::filesystem::path& folder)
{
    std::filesystem::path partial;
    for (const std::filesystem::path& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat status { };
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0)
        return std::nullopt;
    struct stat status { };
    std::optional<std::string> text;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)
        && static_cast<std::uint64_t>(status.st_size) <= limit) {
        // One byte more than allowed tells a file that grew while it was read.
        std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
        std::size_t total = 0;
        for (;;) {
            const ssize_t count = ::read(descriptor, bytes.data() + total, bytes.size() - total);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                break;
            total += static_cast<std::size_t>(count);
            if (count == 0) {
                bytes.resize(total);
                text = std::move(bytes);
                break;
            }
            if (total == bytes.size()) {
                if (total > limit)
                    break;
                bytes.resize(std::min(limit + 1, bytes.size() * 2));
            }
        }
    }
    ::close(descriptor);
    return text;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text, mode_t mode)
{
    struct stat existing { };
    if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return false;
    const std::filesystem::path folder = path.parent_path();
    if (!MakeFolders(folder))
        return false;

    std::string name = ".";
    name += path.filename().string();
    name += ".XXXXXX";
    std::string temporary = (folder / name).string();
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool written = ::fchmod(descriptor, mode) == 0 && WriteAll(descriptor, text) && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename must reach the disk too, or a crash could bring back the old file.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

}  // namespace sekreta::platform
