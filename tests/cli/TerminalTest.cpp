#include "CliRunner.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace sekreta::test {
namespace {

struct Answer {
    std::string prompt;  // wait until the program has shown this
    std::string typed;
};

struct TerminalRun {
    int status = -1;  // the exit status, or -1 after a signal
    std::string screen;  // everything the terminal showed
    bool echoAfterwards = false;
};

// Runs sekreta-cli on a new pseudo-terminal and types each answer once its prompt shows.
TerminalRun RunOnTerminal(const std::vector<std::string>& arguments, const std::vector<Answer>& answers)
{
    std::vector<std::string> command = {SEKRETA_CLI_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    TerminalRun run;
    std::size_t next = 0;
    for (;;) {
        pollfd watched {terminal, POLLIN, 0};
        // A prompt that never comes fails the test instead of hanging it.
        if (::poll(&watched, 1, 10000) <= 0) {
            ADD_FAILURE() << "no prompt; the screen shows: " << run.screen;
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;
        run.screen.append(buffer, static_cast<std::size_t>(got));
        if (next < answers.size() && run.screen.ends_with(answers[next].prompt)) {
            ::write(terminal, answers[next].typed.data(), answers[next].typed.size());
            ++next;
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    termios settings {};
    run.echoAfterwards = ::tcgetattr(terminal, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    ::close(terminal);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(TerminalTest, NewAsksTwiceWithoutEchoAndTheFileOpensWithThatPassPhrase)
{
    TemporaryFolder folder;
    const std::string file = (folder / "t.sek").string();
    const TerminalRun run = RunOnTerminal(
        {"new", file}, {{"New pass phrase: ", "my phrase\n"}, {"Repeat the new pass phrase: ", "my phrase\n"}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.screen, "New pass phrase: \r\nRepeat the new pass phrase: \r\n");
    EXPECT_TRUE(run.echoAfterwards);
    EXPECT_EQ(RunCli({"ls", file, "--passphrase-stdin"}, "my phrase\n").status, 0);

    const TerminalRun list = RunOnTerminal({"ls", file}, {{"Pass phrase: ", "my phrase\r"}});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.screen, "Pass phrase: \r\n");
}

TEST(TerminalTest, PasswdRefusesTwoDifferentPassPhrases)
{
    TemporaryFolder folder;
    const std::string file = (folder / "t.sek").string();
    ASSERT_EQ(RunCli({"new", file, "--passphrase-stdin"}, "old phrase\n").status, 0);
    const auto before = ReadBytes(file);
    const TerminalRun run = RunOnTerminal({"passwd", file},
        {{"Pass phrase: ", "old phrase\n"}, {"New pass phrase: ", "new phrase\n"},
            {"Repeat the new pass phrase: ", "new phrose\n"}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.screen,
        "Pass phrase: \r\nNew pass phrase: \r\nRepeat the new pass phrase: \r\nThe pass phrases do not match.\r\n");
    EXPECT_EQ(ReadBytes(file), before);
}

TEST(TerminalTest, InterruptingThePromptGivesTheEchoBack)
{
    TemporaryFolder folder;
    const std::string file = (folder / "t.sek").string();
    ASSERT_EQ(RunCli({"new", file, "--passphrase-stdin"}, "old phrase\n").status, 0);
    const TerminalRun run = RunOnTerminal({"ls", file}, {{"Pass phrase: ", "\x03"}});
    EXPECT_EQ(run.status, -1) << "ended by SIGINT";
    EXPECT_TRUE(run.echoAfterwards);
}

}  // namespace
}  // namespace sekreta::test
