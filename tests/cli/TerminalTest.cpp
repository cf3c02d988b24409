#include "CliFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
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

// Runs sekreta-cli on a new pseudo-terminal and types each answer once its prompt shows. With
// `standardInput`, standard input is a pipe that holds it instead of the terminal.
TerminalRun RunOnTerminal(const std::vector<std::string>& arguments, const std::vector<Answer>& answers,
    const std::optional<std::string>& standardInput = std::nullopt)
{
    std::vector<std::string> command = {SEKRETA_CLI_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int input[2] = {-1, -1};
    if (standardInput && ::pipe(input) != 0)
        throw std::runtime_error("pipe");
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        if (standardInput) {
            ::dup2(input[0], STDIN_FILENO);
            ::close(input[0]);
            ::close(input[1]);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (standardInput) {
        // Small enough for the pipe to hold it all at once.
        ::close(input[0]);
        EXPECT_EQ(::write(input[1], standardInput->data(), standardInput->size()),
                  static_cast<ssize_t>(standardInput->size()));
        ::close(input[1]);
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
            EXPECT_EQ(::write(terminal, answers[next].typed.data(), answers[next].typed.size()),
                      static_cast<ssize_t>(answers[next].typed.size()));
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
        "Pass phrase: \r\nNew pass phrase: \r\nRepeat the new pass phrase: \r\n"
        "sekreta-cli: The pass phrases do not match.\r\n");
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

TEST(TerminalTest, ControlCharactersAreShownEscapedOnATerminalAndExactElsewhere)
{
    TemporaryFolder folder;
    const std::string file = (folder / "t.sek").string();
    WriteRecords(file,
        {{"\x1B]0;owned\x07"
          "Bank",
            "https://b", "\x1B[2J", "p\x1Bw", "a\x1B[31mb\r\nc\td\re"}},
        "my phrase");
    const Answer phrase {"Pass phrase: ", "my phrase\n"};

    // The terminal turns each line feed into CR LF.
    EXPECT_EQ(RunOnTerminal({"ls", file}, {phrase}).screen,
        "Pass phrase: \r\n1\t\\x1b]0;owned\\x07"
        "Bank\t\\x1b[2J\thttps://b\r\n");
    EXPECT_EQ(RunOnTerminal({"show", file, "1", "-s"}, {phrase}).screen,
        "Pass phrase: \r\nAccount: \\x1b]0;owned\\x07"
        "Bank\r\nURL: https://b\r\nUser: \\x1b[2J\r\n"
        "Password: p\\x1bw\r\nNotes: a\\x1b[31mb\r\nc\td\\x0de\r\n");
    EXPECT_EQ(RunOnTerminal({"show", file, "1", "--field", "notes"}, {phrase}).screen,
        "Pass phrase: \r\na\\x1b[31mb\r\nc\td\\x0de\r\n");
    EXPECT_EQ(RunOnTerminal({"ls", file, "--json"}, {phrase}).screen,
        "Pass phrase: \r\n[\r\n  {\r\n    \"index\": 1,\r\n    \"account\": \"\\u001b]0;owned\\u0007Bank\",\r\n"
        "    \"user\": \"\\u001b[2J\",\r\n    \"url\": \"https://b\"\r\n  }\r\n]\r\n");

    const CliResult piped = RunCli({"show", file, "1", "--field", "notes", "--passphrase-stdin"}, "my phrase\n");
    EXPECT_EQ(piped.out, "a\x1B[31mb\r\nc\td\re\n");
    EXPECT_EQ(RunCli({"ls", file, "--passphrase-stdin"}, "my phrase\n").out,
        "1\t\x1B]0;owned\x07"
        "Bank\t\x1B[2J\thttps://b\n");
}

TEST(TerminalTest, APasswordOnStandardInputLeavesThePassPhraseToTheTerminal)
{
    TemporaryFolder folder;
    const std::string file = (folder / "t.sek").string();
    ASSERT_EQ(RunCli({"new", file, "--passphrase-stdin"}, "my phrase\n").status, 0);
    const TerminalRun run = RunOnTerminal(
        {"add", file, "--account", "x", "--password-stdin"}, {{"Pass phrase: ", "my phrase\n"}}, "pw from a pipe\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.screen, "Pass phrase: \r\n1\r\n");
    EXPECT_EQ(ReadRecords(file, "my phrase"), (std::vector<AccountRecord> {{"x", "", "", "pw from a pipe", ""}}));

    // With standard input the terminal, the password is asked there too, without echo.
    const TerminalRun typed = RunOnTerminal(
        {"edit", file, "x", "--password-stdin"}, {{"Pass phrase: ", "my phrase\n"}, {"Password: ", "typed\n"}});
    EXPECT_EQ(typed.status, 0);
    EXPECT_EQ(typed.screen, "Pass phrase: \r\nPassword: \r\n");
    EXPECT_EQ(ReadRecords(file, "my phrase")[0].password, "typed");
}

TEST(TerminalTest, EntriesOnStandardInputLeaveThePassPhraseToTheTerminal)
{
    TemporaryFolder folder;
    const std::string file = (folder / "t.sek").string();
    WriteBytes(file, {});
    const TerminalRun run = RunOnTerminal({"import", file, "--from", "-"},
        {{"New pass phrase: ", "my phrase\n"}, {"Repeat the new pass phrase: ", "my phrase\n"}},
        "Title,Password\nBank,pw\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadRecords(file, "my phrase"), (std::vector<AccountRecord> {{"Bank", "", "", "pw", ""}}));
}

}  // namespace
}  // namespace sekreta::test
