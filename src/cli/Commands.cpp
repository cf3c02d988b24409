#include "cli/Commands.h"

#include "cli/CsvImport.h"
#include "cli/EntryLookup.h"
#include "cli/JsonImport.h"
#include "cli/LineBreaks.h"
#include "cli/NumberArgument.h"
#include "cli/RecordExport.h"
#include "cli/TerminalText.h"
#include "cli/UsageError.h"
#include "framework/SafeSave.h"
#include "platform/TextEncoding.h"
#include "storage/PassPhraseForms.h"

#include <cstdint>
#include <filesystem>
#include <sstream>

namespace sekreta::cli {

namespace {

constexpr std::uint32_t kMostPasswords = 1000000;

GeneratorSettings SettingsFrom(const Arguments& arguments)
{
    GeneratorSettings settings;
    settings.length = ParseInRange(arguments.length, PasswordGenerator::kMinLength, PasswordGenerator::kMaxLength);
    settings.lower = arguments.lower;
    settings.upper = arguments.upper;
    settings.digits = arguments.digits;
    return settings;
}

bool ChangesPassword(const Arguments& arguments)
{
    return arguments.passwordFromStdin || arguments.generate;
}

std::string ReadWholeFile(platform::FileSystem& fileSystem, const std::filesystem::path& path)
{
    const std::unique_ptr<CFile> file = CFile::OpenForReading(fileSystem, path);
    std::string text;
    char buffer[65536];
    while (const std::size_t got = file->Read(buffer, sizeof buffer))
        text.append(buffer, got);
    file->Close();
    return text;
}

void Assign(std::string& field, const std::optional<std::string>& value)
{
    if (value)
        field = *value;
}

// Notes typed here break lines as the desktop program's notes do.
void AssignNotes(std::string& notes, const std::optional<std::string>& value)
{
    if (value)
        notes = WindowsLineBreaks(*value);
}

std::string ExistsMessage(const std::filesystem::path& path)
{
    return path.string() + " already exists. Use --force to replace it.";
}

}  // namespace

Commands::Commands(platform::FileSystem& fileSystem, platform::RandomSource& random, SecretInput& secrets,
    LineReader& input, std::ostream& out, OutputTarget target)
    : m_fileSystem(fileSystem)
    , m_random(random)
    , m_secrets(secrets)
    , m_input(input)
    , m_out(out)
    , m_target(target)
{
}

std::vector<AccountRecord> Commands::LoadForReading(DocumentFile& file)
{
    file.Open();
    if (file.IsBlank())
        return {};
    std::string passPhrase = m_secrets.PassPhrase();
    return file.Load(passPhrase);
}

void Commands::VisitForReading(DocumentFile& file, const std::function<void(const AccountRecord&)>& visit)
{
    file.Open();
    if (!file.IsBlank())
        file.Visit(m_secrets.PassPhrase(), visit);
}

std::vector<AccountRecord> Commands::LoadForChange(
    DocumentFile& file, std::string& passPhrase, std::optional<std::string_view> entry)
{
    file.Lock();
    file.Open();
    if (file.IsBlank()) {
        if (entry)
            FindEntry(*entry, {});
        passPhrase = m_secrets.NewPassPhrase();
        return {};
    }
    passPhrase = m_secrets.PassPhrase();
    return file.Load(passPhrase);
}

std::string Commands::NewPassword(const Arguments& arguments, GeneratorSettings settings)
{
    if (arguments.generate)
        return PasswordGenerator(m_random).Generate(settings);
    return m_secrets.Password();
}

void Commands::New(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    // Under the lock, so that a file another program makes meanwhile is not replaced unasked.
    file.Lock();
    if (!arguments.force && m_fileSystem.Exists(file.Path()))
        throw UsageError(ExistsMessage(file.Path()));
    file.Save({}, m_secrets.NewPassPhrase());
}

void Commands::List(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    if (arguments.json) {
        const std::vector<AccountRecord> records = LoadForReading(file);
        m_out << ListJson(records, AllPositions(records));
        return;
    }
    // A large file is listed without holding its records; the lines wait until the whole file
    // has read well, so that a damaged one prints its error and nothing else.
    std::ostringstream lines;
    std::size_t number = 0;
    VisitForReading(file, [&](const AccountRecord& record) { WriteListLine(lines, ++number, record, m_target); });
    m_out << lines.view();
}

void Commands::Show(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    const std::vector<AccountRecord> records = LoadForReading(file);
    const AccountRecord& record = records[FindEntry(arguments.entry, records)];
    if (arguments.json)
        m_out << EntryJson(record, arguments.showPassword);
    else if (!arguments.field.empty())
        m_out << FieldText(record, arguments.field, m_target);
    else
        m_out << EntryText(record, arguments.showPassword, m_target);
}

void Commands::Search(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    const std::vector<AccountRecord> records = LoadForReading(file);
    const std::vector<std::size_t> found = FindContaining(arguments.text, records);
    if (found.empty())
        throw UsageError("No entry contains \"" + EscapeControls(platform::DisplayText(arguments.text), false) + "\".");
    if (arguments.json)
        m_out << ListJson(records, found);
    else
        WriteList(m_out, records, found, m_target);
}

void Commands::Add(const Arguments& arguments)
{
    if (!ChangesPassword(arguments))
        throw UsageError("add needs --password-stdin or --generate.");
    const GeneratorSettings settings = SettingsFrom(arguments);
    DocumentFile file(m_fileSystem, arguments.file);
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase);

    AccountRecord record;
    Assign(record.account, arguments.account);
    Assign(record.url, arguments.url);
    Assign(record.user, arguments.user);
    record.password = NewPassword(arguments, settings);
    AssignNotes(record.notes, arguments.notes);
    records.push_back(std::move(record));
    file.Save(records, passPhrase);
    m_out << records.size() << '\n';
}

void Commands::Edit(const Arguments& arguments)
{
    if (!arguments.account && !arguments.url && !arguments.user && !arguments.notes && !ChangesPassword(arguments))
        throw UsageError("Nothing to change: give --account, --url, --user, --notes, --password-stdin or --generate.");
    const GeneratorSettings settings = SettingsFrom(arguments);
    DocumentFile file(m_fileSystem, arguments.file);
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase, arguments.entry);

    AccountRecord& record = records[FindEntry(arguments.entry, records)];
    Assign(record.account, arguments.account);
    Assign(record.url, arguments.url);
    Assign(record.user, arguments.user);
    if (ChangesPassword(arguments))
        record.password = NewPassword(arguments, settings);
    AssignNotes(record.notes, arguments.notes);
    file.Save(records, passPhrase);
}

void Commands::Remove(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase, arguments.entry);
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(FindEntry(arguments.entry, records)));
    file.Save(records, passPhrase);
}

void Commands::ChangePassPhrase(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    file.Lock();
    file.Open();
    // A blank file has no pass phrase yet, so there is no current one to ask for.
    std::vector<AccountRecord> records;
    std::string passPhrase;
    if (!file.IsBlank()) {
        passPhrase = m_secrets.PassPhrase();
        records = file.Load(passPhrase);
    }
    file.Save(records, NewPassPhraseForm(passPhrase, m_secrets.NewPassPhrase()));
}

void Commands::Generate(const Arguments& arguments)
{
    GeneratorSettings settings = SettingsFrom(arguments);
    const std::uint32_t count = ParseInRange(arguments.count, 1, kMostPasswords);
    PasswordGenerator generator(m_random);
    for (std::uint32_t i = 0; i < count; ++i)
        m_out << generator.Generate(settings) << '\n';
}

void Commands::Export(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    std::filesystem::path output;
    if (!arguments.output.empty() && arguments.output != kStandardStream) {
        output = m_fileSystem.Absolute(arguments.output);
        std::error_code ignored;
        // Writing the export over the file itself would leave every password in plain text.
        if (output == file.Path() || std::filesystem::equivalent(output, file.Path(), ignored))
            throw UsageError("The export would replace " + file.Path().string() + " itself.");
        // Nor may it silently replace anything else: every password would be there in clear.
        if (!arguments.force && m_fileSystem.Exists(output))
            throw UsageError(ExistsMessage(output));
    }
    const std::vector<AccountRecord> records = LoadForReading(file);
    const std::string text = arguments.format == "csv" ? ExportCsv(records) : ExportJson(records);
    if (output.empty()) {
        m_out << text;
        return;
    }
    SafeSave(
        m_fileSystem, output, [&](CFile& out) { out.Write(text.data(), text.size()); }, SavedPermissions::ownerOnly);
}

void Commands::Import(const Arguments& arguments)
{
    const bool fromStandardInput = arguments.from == kStandardStream;
    if (fromStandardInput && arguments.passPhraseFromStdin)
        throw UsageError("--from - and --passphrase-stdin both want standard input: give the entries in a file, or "
                         "type the pass phrase on the terminal.");
    DocumentFile file(m_fileSystem, arguments.file);
    std::string source = "standard input";
    std::string text;
    if (fromStandardInput) {
        text = m_input.Rest();
    } else {
        const std::filesystem::path path = m_fileSystem.Absolute(arguments.from);
        source = path.string();
        text = ReadWholeFile(m_fileSystem, path);
    }
    // The entries are read and checked before the pass phrase is asked for.
    const std::vector<AccountRecord> imported
        = arguments.importFormat == "json" ? RecordsFromJson(text, source) : RecordsFromCsv(text, source);
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase);
    records.insert(records.end(), imported.begin(), imported.end());
    file.Save(records, passPhrase);
}

}  // namespace sekreta::cli
