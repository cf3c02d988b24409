#include "platform/xdg/SingleInstance.h"

#include "xdg/XdgTestSupport.h"

#include <future>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace sekreta::platform {
namespace {

using test::TemporaryFolder;
using Requests = std::vector<std::string>;
using Result = SingleInstance::HandOverResult;

const std::string kRequest = "[open(\"/home/me/My \\\"Letters\\\".sek\")]";

sockaddr_un AddressOf(const std::filesystem::path& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s", path.c_str());
    return address;
}

// A connection made by hand, as a misbehaving client would.
int ConnectTo(const std::filesystem::path& path)
{
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = AddressOf(path);
    EXPECT_EQ(::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    return descriptor;
}

bool Readable(int descriptor, int milliseconds = 0)
{
    pollfd waiting {descriptor, POLLIN, 0};
    return ::poll(&waiting, 1, milliseconds) == 1;
}

// The listener's answer on a connection made by hand: its one byte, or empty when it closed.
std::string AnswerOn(int descriptor)
{
    char answer = 0;
    return Readable(descriptor, 5000) && ::recv(descriptor, &answer, 1, 0) == 1 ? std::string(1, answer) : "";
}

// A socket file that nobody listens on any more, as a crashed run leaves it.
void LeaveStaleSocket(const std::filesystem::path& path)
{
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = AddressOf(path);
    ASSERT_EQ(::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::chmod(path.c_str(), 0600);
    ::close(descriptor);
}

class SingleInstanceTest : public testing::Test {
protected:
    SingleInstanceTest()
    {
        std::filesystem::create_directory(Folder());
        ::chmod(Folder().c_str(), 0700);
    }
    std::filesystem::path Folder() const { return m_folder / "run"; }
    std::filesystem::path Socket() const { return Folder() / "instance"; }
    // What the listener takes now goes to m_taken; it takes every request unless told to refuse.
    void Serve(SingleInstance& listener, bool take = true)
    {
        listener.ServeRequests([&](std::string_view request) {
            m_taken.emplace_back(request);
            return take;
        });
    }
    // A second start hands the request over while the listener serves, as two programs would.
    Result HandOverTo(SingleInstance& listener, const std::string& request, bool take = true)
    {
        auto second = std::async(std::launch::async, [&] { return SingleInstance(Socket()).HandOver(request); });
        while (second.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            Serve(listener, take);
        return second.get();
    }

    TemporaryFolder m_folder;
    Requests m_taken;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsRequestToTheFirst)
{
    std::optional<SingleInstance> first(std::in_place, Socket());
    EXPECT_EQ(first->Descriptor(), -1);
    Serve(*first);
    ASSERT_TRUE(first->Listen());
    ASSERT_GE(first->Descriptor(), 0);
    EXPECT_EQ(std::filesystem::status(Socket()).permissions(), static_cast<std::filesystem::perms>(0600));
    EXPECT_FALSE(Readable(first->Descriptor()));
    Serve(*first);  // nothing waits, and nothing blocks

    SingleInstance second(Socket());
    EXPECT_FALSE(second.Listen()) << "one listens already";
    Serve(*first);  // the second start's probe sent nothing
    EXPECT_EQ(HandOverTo(*first, kRequest), Result::Taken);
    const std::string lines = "[open(\"/tmp/two\nlines.sek\")]";
    EXPECT_EQ(HandOverTo(*first, lines), Result::Taken);
    EXPECT_EQ(HandOverTo(*first, lines, false), Result::Refused) << "the program cannot take more";
    EXPECT_EQ(m_taken, (Requests {kRequest, lines, lines}));

    // The first one ends: its socket goes with it, and the next start is the first again.
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(Socket()));
    EXPECT_EQ(second.HandOver(kRequest), Result::NoListener);
    EXPECT_TRUE(second.Listen());
}

TEST_F(SingleInstanceTest, AStaleSocketIsReplacedAndNeverTrusted)
{
    LeaveStaleSocket(Socket());
    SingleInstance instance(Socket());
    EXPECT_EQ(instance.HandOver(kRequest), Result::NoListener);
    ASSERT_TRUE(instance.Listen());
    EXPECT_EQ(HandOverTo(instance, kRequest), Result::Taken);
    EXPECT_EQ(m_taken, Requests {kRequest});
}

TEST_F(SingleInstanceTest, RefusesASocketOrFolderThatIsNotThisUsersAlone)
{
    SingleInstance listening(Socket());
    ASSERT_TRUE(listening.Listen());

    ::chmod(Socket().c_str(), 0666);
    EXPECT_EQ(SingleInstance(Socket()).HandOver(kRequest), Result::NoListener) << "a socket others may use";
    ::chmod(Socket().c_str(), 0600);
    ::chmod(Folder().c_str(), 0755);
    EXPECT_EQ(SingleInstance(Socket()).HandOver(kRequest), Result::NoListener) << "a folder others may enter";
    ::chmod(Folder().c_str(), 0700);
    EXPECT_EQ(HandOverTo(listening, kRequest), Result::Taken);
    EXPECT_EQ(m_taken, Requests {kRequest});

    // Whatever else is at the path stays as it is.
    const std::filesystem::path other = Folder() / "other";
    test::WriteText(other, "not a socket");
    EXPECT_FALSE(SingleInstance(other).Listen());
    EXPECT_EQ(SingleInstance(other).HandOver(kRequest), Result::NoListener);
    EXPECT_EQ(test::ReadText(other), "not a socket");
    const std::filesystem::path open = Folder() / "open";
    LeaveStaleSocket(open);
    ::chmod(open.c_str(), 0666);
    EXPECT_FALSE(SingleInstance(open).Listen());
    EXPECT_TRUE(std::filesystem::is_socket(open));

    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a socket to another user, or be another user";
    const std::filesystem::path foreign = Folder() / "foreign";
    LeaveStaleSocket(foreign);
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(SingleInstance(foreign).Listen());
    EXPECT_EQ(SingleInstance(foreign).HandOver(kRequest), Result::NoListener);
    EXPECT_TRUE(std::filesystem::is_socket(foreign));

    // Another user cannot even reach the listening socket.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(2);
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = AddressOf(Socket());
        const bool refused = ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0
            && errno == EACCES;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(Readable(listening.Descriptor()));
}

TEST_F(SingleInstanceTest, ARequestIsBoundedInSizeAndTime)
{
    SingleInstance instance(Socket());
    ASSERT_TRUE(instance.Listen());
    const std::string tooLong(SingleInstance::kLargestRequest + 1, 'x');
    // Connections made by hand, each sending its bytes and ending its request, and the answer.
    for (const auto& [sent, answer] :
        std::vector<std::pair<std::string, std::string>> {{"", "-"}, {tooLong, "-"}, {tooLong.substr(1), "+"}}) {
        const int client = ConnectTo(Socket());
        ASSERT_EQ(::send(client, sent.data(), sent.size(), MSG_NOSIGNAL), static_cast<ssize_t>(sent.size()));
        ::shutdown(client, SHUT_WR);
        EXPECT_TRUE(Readable(instance.Descriptor(), 5000));
        Serve(instance);
        EXPECT_EQ(AnswerOn(client), answer) << sent.size();
        ::close(client);
    }

    // A client that sends nothing more holds no later request back, and is dropped when idle.
    const int silent = ConnectTo(Socket());
    ASSERT_EQ(::send(silent, "[open(", 6, MSG_NOSIGNAL), 6);
    EXPECT_EQ(HandOverTo(instance, kRequest), Result::Taken);
    EXPECT_FALSE(Readable(silent)) << "not answered yet";
    EXPECT_TRUE(Readable(instance.Descriptor(), 5000)) << "the idle limit wakes the listener";
    Serve(instance);
    EXPECT_EQ(AnswerOn(silent), "-");
    ::close(silent);

    // Out of descriptors, the listener stops waking the loop, and takes the request once it can.
    const int waiting = ConnectTo(Socket());
    ASSERT_EQ(::send(waiting, kRequest.data(), kRequest.size(), MSG_NOSIGNAL), static_cast<ssize_t>(kRequest.size()));
    ::shutdown(waiting, SHUT_WR);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit limit {};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit starved {static_cast<rlim_t>(lowestFree), limit.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &starved);
    Serve(instance);
    const bool wakesAgain = Readable(instance.Descriptor());
    ::setrlimit(RLIMIT_NOFILE, &limit);
    EXPECT_FALSE(wakesAgain);
    EXPECT_TRUE(Readable(instance.Descriptor(), 5000));
    Serve(instance);
    EXPECT_EQ(AnswerOn(waiting), "+");
    ::close(waiting);
    EXPECT_EQ(m_taken, (Requests {tooLong.substr(1), kRequest, kRequest}));
}

TEST(SingleInstancePathTest, LivesInAFolderOfThisUsersAlone)
{
    TemporaryFolder folder;
    {
        const test::ScopedVariable runtime("XDG_RUNTIME_DIR", folder.Path().string());
        EXPECT_EQ(SingleInstance::UserSocketPath(), folder / "sekreta/instance");
        EXPECT_EQ(std::filesystem::status(folder / "sekreta").permissions(), std::filesystem::perms::owner_all);
        ::chmod((folder / "sekreta").c_str(), 0750);
        EXPECT_EQ(SingleInstance::UserSocketPath(), std::nullopt);
    }
    {
        const test::ScopedVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
        const test::ScopedVariable temporary("TMPDIR", folder.Path().string());
        const std::filesystem::path fallback = folder / ("sekreta-" + std::to_string(::geteuid()));
        EXPECT_EQ(SingleInstance::UserSocketPath(), fallback / "instance");
        EXPECT_EQ(std::filesystem::status(fallback).permissions(), std::filesystem::perms::owner_all);
    }
    {
        const std::filesystem::path deep = folder / std::string(120, 'd');
        std::filesystem::create_directory(deep);
        const test::ScopedVariable runtime("XDG_RUNTIME_DIR", deep.string());
        EXPECT_EQ(SingleInstance::UserSocketPath(), std::nullopt) << "too long for a socket address";
    }
}

}  // namespace
}  // namespace sekreta::platform
