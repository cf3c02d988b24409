#include "cli/Commands.h"

#include "cli/CsvImport.h"
#include "cli/EntryListing.h"
#include "cli/LineBreaks.h"
#include "cli/NumberArgument.h"
#include "cli/RecordExport.h"
#include "cli/UsageError.h"
#include "framework/CDataExchange.h"
#include "framework/SafeSave.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace sekreta::cli {

namespace {

constexpr std::uint32_t kMostPasswords = 1000000;

// The entry number as ls shows it, from 1; checked against the store once it is read.
std::size_t EntryNumber(const std::string& index)
{
    const std::optional<std::uint64_t> number = ParseUnsigned(index);
    if (!number)
        throw UsageError("\"" + index + "\" is not an entry number.");
    return static_cast<std::size_t>(std::min<std::uint64_t>(*number, SIZE_MAX));
}

// The 0-based position of entry `number`.
std::size_t Position(std::size_t number, const std::vector<AccountRecord>& records)
{
    if (number >= 1 && number <= records.size())
        return number - 1;
    const std::string has = records.empty() ? "no entries"
        : records.size() == 1               ? "1 entry"
                                            : std::to_string(records.size()) + " entries";
    throw UsageError("There is no entry " + std::to_string(number) + ": the file has " + has + ".");
}

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

}  // namespace

Commands::Commands(
    platform::FileSystem& fileSystem, platform::RandomSource& random, SecretInput& secrets, std::ostream& out)
    : m_fileSystem(fileSystem)
    , m_random(random)
    , m_secrets(secrets)
    , m_out(out)
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

std::vector<AccountRecord> Commands::LoadForChange(DocumentFile& file, std::string& passPhrase)
{
    file.Open();
    if (file.IsBlank()) {
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
    if (!arguments.force && m_fileSystem.Exists(file.Path()))
        throw UsageError(file.Path().string() + " already exists. Use --force to replace it.");
    file.Save({}, m_secrets.NewPassPhrase());
}

void Commands::List(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    const std::vector<AccountRecord> records = LoadForReading(file);
    m_out << (arguments.json ? ListJson(records) : ListText(records));
}

void Commands::Show(const Arguments& arguments)
{
    const std::size_t number = EntryNumber(arguments.index);
    DocumentFile file(m_fileSystem, arguments.file);
    const std::vector<AccountRecord> records = LoadForReading(file);
    const AccountRecord& record = records[Position(number, records)];
    m_out << (arguments.field.empty() ? EntryText(record) : FieldText(record, arguments.field));
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
    const std::size_t number = EntryNumber(arguments.index);
    if (!arguments.account && !arguments.url && !arguments.user && !arguments.notes && !ChangesPassword(arguments))
        throw UsageError("Nothing to change: give --account, --url, --user, --notes, --password-stdin or --generate.");
    const GeneratorSettings settings = SettingsFrom(arguments);
    DocumentFile file(m_fileSystem, arguments.file);
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase);

    AccountRecord& record = records[Position(number, records)];
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
    const std::size_t number = EntryNumber(arguments.index);
    DocumentFile file(m_fileSystem, arguments.file);
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase);
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(Position(number, records)));
    file.Save(records, passPhrase);
}

void Commands::ChangePassPhrase(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    file.Open();
    // A blank file has no pass phrase yet, so there is no current one to ask for.
    std::vector<AccountRecord> records;
    if (!file.IsBlank()) {
        std::string passPhrase = m_secrets.PassPhrase();
        records = file.Load(passPhrase);
    }
    file.Save(records, m_secrets.NewPassPhrase());
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
    if (!arguments.output.empty()) {
        output = m_fileSystem.Absolute(arguments.output);
        std::error_code ignored;
        // Writing the export over the file itself would leave every password in plain text.
        if (output == file.Path() || std::filesystem::equivalent(output, file.Path(), ignored))
            throw UsageError("The export would replace " + file.Path().string() + " itself.");
    }
    const std::vector<AccountRecord> records = LoadForReading(file);
    const std::string text = arguments.format == "csv" ? ExportCsv(records) : ExportJson(records);
    if (output.empty()) {
        m_out << text;
        return;
    }
    SafeSave(m_fileSystem, output, [&](CFile& out) { out.Write(text.data(), text.size()); });
}

void Commands::Import(const Arguments& arguments)
{
    DocumentFile file(m_fileSystem, arguments.file);
    const std::filesystem::path source = m_fileSystem.Absolute(arguments.from);
    // The CSV is read and checked before the pass phrase is asked for.
    const std::vector<AccountRecord> imported = RecordsFromCsv(ReadWholeFile(m_fileSystem, source), source.string());
    std::string passPhrase;
    std::vector<AccountRecord> records = LoadForChange(file, passPhrase);
    records.insert(records.end(), imported.begin(), imported.end());
    file.Save(records, passPhrase);
}

}  // namespace sekreta::cli
