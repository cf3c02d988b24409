#include "platform/xdg/SingleInstance.h"

#include "xdg/XdgTestSupport.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace sekreta::platform {
namespace {

using test::TemporaryFolder;

constexpr std::string_view kRequest = "[open(\"/home/me/My \\\"Letters\\\".sek\")]";

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

bool Readable(int descriptor)
{
    pollfd waiting {descriptor, POLLIN, 0};
    return ::poll(&waiting, 1, 0) == 1;
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

    TemporaryFolder m_folder;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsRequestToTheFirst)
{
    std::optional<SingleInstance> first(std::in_place, Socket());
    EXPECT_EQ(first->Descriptor(), -1);
    EXPECT_EQ(first->ReceiveRequest(), std::nullopt);
    ASSERT_TRUE(first->Listen());
    ASSERT_GE(first->Descriptor(), 0);
    EXPECT_EQ(std::filesystem::status(Socket()).permissions(), static_cast<std::filesystem::perms>(0600));
    EXPECT_FALSE(Readable(first->Descriptor()));
    EXPECT_EQ(first->ReceiveRequest(), std::nullopt) << "nothing waits, and nothing blocks";

    SingleInstance second(Socket());
    EXPECT_FALSE(second.Listen()) << "one listens already";
    EXPECT_EQ(first->ReceiveRequest(), std::nullopt) << "the second start's probe sent nothing";
    ASSERT_TRUE(second.HandOver(kRequest));
    const std::string lines = "[open(\"/tmp/two\nlines.sek\")]";
    ASSERT_TRUE(SingleInstance(Socket()).HandOver(lines));
    ASSERT_TRUE(Readable(first->Descriptor()));
    EXPECT_EQ(first->ReceiveRequest(), std::string(kRequest));
    EXPECT_EQ(first->ReceiveRequest(), lines);
    EXPECT_EQ(first->ReceiveRequest(), std::nullopt);

    // The first one ends: its socket goes with it, and the next start is the first again.
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(Socket()));
    EXPECT_FALSE(second.HandOver(kRequest));
    EXPECT_TRUE(second.Listen());
}

TEST_F(SingleInstanceTest, AStaleSocketIsReplacedAndNeverTrusted)
{
    LeaveStaleSocket(Socket());
    SingleInstance instance(Socket());
    EXPECT_FALSE(instance.HandOver(kRequest));
    ASSERT_TRUE(instance.Listen());
    ASSERT_TRUE(SingleInstance(Socket()).HandOver(kRequest));
    EXPECT_EQ(instance.ReceiveRequest(), std::string(kRequest));
}

TEST_F(SingleInstanceTest, RefusesASocketOrFolderThatIsNotThisUsersAlone)
{
    SingleInstance listening(Socket());
    ASSERT_TRUE(listening.Listen());

    ::chmod(Socket().c_str(), 0666);
    EXPECT_FALSE(SingleInstance(Socket()).HandOver(kRequest)) << "a socket others may use";
    ::chmod(Socket().c_str(), 0600);
    ::chmod(Folder().c_str(), 0755);
    EXPECT_FALSE(SingleInstance(Socket()).HandOver(kRequest)) << "a folder others may enter";
    ::chmod(Folder().c_str(), 0700);
    ASSERT_TRUE(SingleInstance(Socket()).HandOver(kRequest));
    EXPECT_EQ(listening.ReceiveRequest(), std::string(kRequest));

    // Whatever else is at the path stays as it is.
    const std::filesystem::path other = Folder() / "other";
    test::WriteText(other, "not a socket");
    EXPECT_FALSE(SingleInstance(other).Listen());
    EXPECT_FALSE(SingleInstance(other).HandOver(kRequest));
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
    EXPECT_FALSE(SingleInstance(foreign).HandOver(kRequest));
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

    const int empty = ConnectTo(Socket());
    ::close(empty);
    EXPECT_EQ(instance.ReceiveRequest(), std::nullopt);

    const int large = ConnectTo(Socket());
    const std::string tooLong(SingleInstance::kLargestRequest + 1, 'x');
    ASSERT_EQ(::send(large, tooLong.data(), tooLong.size(), MSG_NOSIGNAL), static_cast<ssize_t>(tooLong.size()));
    ::close(large);
    EXPECT_EQ(instance.ReceiveRequest(), std::nullopt);

    const int largest = ConnectTo(Socket());
    ASSERT_EQ(
        ::send(largest, tooLong.data(), tooLong.size() - 1, MSG_NOSIGNAL), static_cast<ssize_t>(tooLong.size() - 1));
    ::close(largest);
    EXPECT_EQ(instance.ReceiveRequest(), tooLong.substr(1));

    // A client that never finishes is given up on, and the next one is served.
    const int silent = ConnectTo(Socket());
    ASSERT_EQ(::send(silent, "[open(", 6, MSG_NOSIGNAL), 6);
    EXPECT_EQ(instance.ReceiveRequest(), std::nullopt);
    ::close(silent);
    ASSERT_TRUE(SingleInstance(Socket()).HandOver(kRequest));
    EXPECT_EQ(instance.ReceiveRequest(), std::string(kRequest));
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
