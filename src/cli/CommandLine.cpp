#include "cli/CommandLine.h"

#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/UsageError.h"
#include "framework/CArchiveException.h"
#include "framework/CFileException.h"
#include "framework/StringTable.h"

#include <cerrno>
#include <new>
#include <string_view>

namespace sekreta::cli {

namespace {

constexpr std::string_view kMessagePrefix = "sekreta-cli: ";

}  // namespace

CommandLine::CommandLine(platform::FileSystem& fileSystem, platform::RandomSource& random, std::istream& in,
    std::ostream& out, std::ostream& err, Terminals terminals)
    : m_fileSystem(fileSystem)
    , m_random(random)
    , m_in(in)
    , m_out(out)
    , m_err(err)
    , m_terminals(terminals)
{
}

int CommandLine::Run(int argc, const char* const* argv)
{
    std::string message;
    int status = kSuccess;
    try {
        status = RunCommand(argc, argv);
        // Output that never arrived must not pass for success.
        if (!m_out.flush())
            throw CFileException(CFileException::genericException, -1, "the standard output");
        return status;
    } catch (const UsageError& error) {
        message = error.what();
        status = kUsageError;
    } catch (const CArchiveException&) {
        message = StringTable::Load(IDP_FAILED_INVALID_FORMAT);
        status = kBadFormat;
    } catch (const CFileException& error) {
        // Another writer held the file for longer than the wait: nothing was written.
        const bool busy = error.m_cause == CFileException::lockViolation && error.m_lOsError == EWOULDBLOCK;
        message
            = busy ? error.m_strFileName + " is being changed by another program; try again." : error.GetErrorMessage();
        status = kFileFailure;
    } catch (const std::bad_alloc&) {
        message = "Out of memory.";
        status = kFileFailure;
    } catch (const std::exception& error) {
        message = error.what();
        status = kFileFailure;
    }
    m_err << kMessagePrefix << message << '\n';
    return status;
}

int CommandLine::RunCommand(int argc, const char* const* argv)
{
    Arguments arguments;
    CommandParser parser(arguments);
    try {
        parser.App().parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and the version are parse "errors" too, with status 0.
        return parser.App().exit(error, m_out, m_err) == 0 ? kSuccess : kUsageError;
    }
    const Command command = parser.Chosen();
    if (!command) {
        m_out << parser.HelpText(arguments.command);
        return kSuccess;
    }
    LineReader input(m_in);
    SecretInput secrets(input,
        {arguments.passPhraseFromStdin, m_terminals.input,
            arguments.passwordFromStdin || arguments.from == kStandardStream});
    Commands commands(m_fileSystem, m_random, secrets, input, m_out,
        m_terminals.output ? OutputTarget::terminal : OutputTarget::other);
    (commands.*command)(arguments);
    return kSuccess;
}

}  // namespace sekreta::cli
