// Preloaded into sekreta-cli by the tests, this library makes a chosen system call of a save
// fail, as a full disk, a failing device or a busy file system would, or stops the program
// there as a crash would, and can list the calls a save makes. It names each call after what it does to the save:
//
//   create-temporary   mkostemp, which makes the hidden temporary file
//   write              a write into that file
//   open-temporary     opening the temporary file again by its name
//   fchown, fchmod     giving the temporary file the old file's owner and mode
//   fsync-temporary    flushing the temporary file
//   close-temporary    closing it, and close-copy for the descriptor opened by name
//   rename             putting it in the old file's place
//   open-folder, fsync-folder, close-folder   making the rename durable
//   open-saved, fchown-saved, fchmod-saved, close-saved   giving the file in its new place the
//                      old file's owner and mode
//   unlink             removing a file
//
// SEKRETA_FAIL_CALL=NAME:N:ERRNO makes the N-th call of that name (counted from 1) fail with
// ERRNO; with "kill" in place of ERRNO the program is killed (SIGKILL) right before that call.
// Several such plans may be given, separated by commas. A failing close still closes, as the
// kernel's does. SEKRETA_TRACE_CALLS=FILE appends each call's name to FILE, one per line.
// Other calls pass through untouched.
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Kind : char { none, temporary, copy, folder, saved };

constexpr int kMostDescriptors = 4096;
Kind g_kinds[kMostDescriptors] = {};
std::string* g_temporaryPath = nullptr;
// Where the temporary file went by its rename.
std::string* g_savedPath = nullptr;

template <typename Function> Function Real(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// The error that stands for a kill.
constexpr int kKill = -1;

struct Failure {
    char name[32] = {};
    long call = 0;
    int error = 0;
    long seen = 0;
};

struct Plan {
    Failure failures[4];
    int count = 0;
    const char* trace = nullptr;
};

// NAME:N:ERRNO, up to the next comma; false when it is not that.
bool ReadFailure(const char*& text, Failure& failure)
{
    const char* colon = std::strchr(text, ':');
    if (!colon || static_cast<std::size_t>(colon - text) >= sizeof failure.name)
        return false;
    std::memcpy(failure.name, text, static_cast<std::size_t>(colon - text));
    char* end = nullptr;
    failure.call = std::strtol(colon + 1, &end, 10);
    if (!end || *end != ':')
        return false;
    if (std::strncmp(end + 1, "kill", 4) == 0) {
        failure.error = kKill;
        end += 5;
    } else {
        failure.error = static_cast<int>(std::strtol(end + 1, &end, 10));
    }
    text = *end == ',' ? end + 1 : nullptr;
    return true;
}

Plan& ThePlan()
{
    static Plan plan;
    static bool read = false;
    if (!read) {
        read = true;
        plan.trace = std::getenv("SEKRETA_TRACE_CALLS");
        const char* text = std::getenv("SEKRETA_FAIL_CALL");
        while (text && plan.count < 4 && ReadFailure(text, plan.failures[plan.count]))
            ++plan.count;
    }
    return plan;
}

void Trace(const char* name)
{
    const Plan& plan = ThePlan();
    if (!plan.trace)
        return;
    static auto realOpen = Real<int (*)(const char*, int, ...)>("open");
    static auto realWrite = Real<ssize_t (*)(int, const void*, std::size_t)>("write");
    static auto realClose = Real<int (*)(int)>("close");
    const int descriptor = realOpen(plan.trace, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return;
    std::string line = name;
    line += '\n';
    realWrite(descriptor, line.data(), line.size());
    realClose(descriptor);
}

// Counts the call; true, with errno set, when it is the one to fail.
bool ShouldFail(const char* name)
{
    Trace(name);
    Plan& plan = ThePlan();
    for (int i = 0; i < plan.count; ++i) {
        Failure& failure = plan.failures[i];
        if (std::strcmp(failure.name, name) == 0 && ++failure.seen == failure.call) {
            if (failure.error == kKill)
                ::kill(::getpid(), SIGKILL);
            errno = failure.error;
            return true;
        }
    }
    return false;
}

Kind KindOf(int descriptor)
{
    return descriptor >= 0 && descriptor < kMostDescriptors ? g_kinds[descriptor] : Kind::none;
}

void Remember(int descriptor, Kind kind)
{
    if (descriptor >= 0 && descriptor < kMostDescriptors)
        g_kinds[descriptor] = kind;
}

// What an open of `path` is to the save: none before the temporary file exists.
Kind KindOfOpen(const char* path, int flags)
{
    if (!g_temporaryPath)
        return Kind::none;
    if (*g_temporaryPath == path)
        return Kind::copy;
    if (g_savedPath && *g_savedPath == path)
        return Kind::saved;
    if ((flags & O_DIRECTORY) != 0)
        return Kind::folder;
    return Kind::none;
}

const char* OpenName(Kind kind)
{
    return kind == Kind::copy ? "open-temporary" : kind == Kind::saved ? "open-saved" : "open-folder";
}

int Opened(const char* path, int flags, int descriptor)
{
    if (descriptor >= 0)
        Remember(descriptor, KindOfOpen(path, flags));
    return descriptor;
}

mode_t ModeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

int Temporary(const char* realName, char* pattern, int flags)
{
    if (ShouldFail("create-temporary"))
        return -1;
    const int descriptor = Real<int (*)(char*, int)>(realName)(pattern, flags);
    if (descriptor >= 0) {
        Remember(descriptor, Kind::temporary);
        delete g_temporaryPath;
        g_temporaryPath = new std::string(pattern);
    }
    return descriptor;
}

int OpenAt(const char* realName, int folder, const char* path, int flags, mode_t mode)
{
    const Kind kind = KindOfOpen(path, flags);
    if (kind != Kind::none && ShouldFail(OpenName(kind)))
        return -1;
    return Opened(path, flags, Real<int (*)(int, const char*, int, ...)>(realName)(folder, path, flags, mode));
}

int Open(const char* realName, const char* path, int flags, mode_t mode)
{
    const Kind kind = KindOfOpen(path, flags);
    if (kind != Kind::none && ShouldFail(OpenName(kind)))
        return -1;
    return Opened(path, flags, Real<int (*)(const char*, int, ...)>(realName)(path, flags, mode));
}

}  // namespace

extern "C" {

int mkostemp(char* pattern, int flags)
{
    return Temporary("mkostemp", pattern, flags);
}

int mkostemp64(char* pattern, int flags)
{
    return Temporary("mkostemp64", pattern, flags);
}

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return Open("open", path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return Open("open64", path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return OpenAt("openat", folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return OpenAt("openat64", folder, path, flags, mode);
}

ssize_t write(int descriptor, const void* data, std::size_t size)
{
    if (KindOf(descriptor) == Kind::temporary && ShouldFail("write"))
        return -1;
    return Real<ssize_t (*)(int, const void*, std::size_t)>("write")(descriptor, data, size);
}

int fsync(int descriptor)
{
    const Kind kind = KindOf(descriptor);
    if (kind == Kind::temporary && ShouldFail("fsync-temporary"))
        return -1;
    if (kind == Kind::folder && ShouldFail("fsync-folder"))
        return -1;
    return Real<int (*)(int)>("fsync")(descriptor);
}

int close(int descriptor)
{
    const Kind kind = KindOf(descriptor);
    Remember(descriptor, Kind::none);
    const char* name = kind == Kind::temporary ? "close-temporary"
        : kind == Kind::copy                   ? "close-copy"
        : kind == Kind::folder                 ? "close-folder"
        : kind == Kind::saved                  ? "close-saved"
                                               : nullptr;
    const bool fail = name && ShouldFail(name);
    const int error = errno;
    const int result = Real<int (*)(int)>("close")(descriptor);
    if (!fail)
        return result;
    errno = error;
    return -1;
}

int fchown(int descriptor, uid_t owner, gid_t group)
{
    if (ShouldFail(KindOf(descriptor) == Kind::saved ? "fchown-saved" : "fchown"))
        return -1;
    return Real<int (*)(int, uid_t, gid_t)>("fchown")(descriptor, owner, group);
}

int fchmod(int descriptor, mode_t mode)
{
    if (ShouldFail(KindOf(descriptor) == Kind::saved ? "fchmod-saved" : "fchmod"))
        return -1;
    return Real<int (*)(int, mode_t)>("fchmod")(descriptor, mode);
}

int rename(const char* from, const char* to)
{
    if (ShouldFail("rename"))
        return -1;
    const int result = Real<int (*)(const char*, const char*)>("rename")(from, to);
    if (result == 0 && g_temporaryPath && *g_temporaryPath == from) {
        delete g_savedPath;
        g_savedPath = new std::string(to);
    }
    return result;
}

int unlink(const char* path)
{
    if (ShouldFail("unlink"))
        return -1;
    return Real<int (*)(const char*)>("unlink")(path);
}

}  // extern "C"
