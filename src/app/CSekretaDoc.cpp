#include "app/CSekretaDoc.h"

#include "app/CSekretaView.h"
#include "dialogs/CEntryDlg.h"
#include "dialogs/CGeneratorDlg.h"
#include "dialogs/CPassPhraseDlg.h"
#include "framework/CCmdUI.h"
#include "framework/CFileException.h"
#include "framework/CWinApp.h"
#include "framework/StringTable.h"
#include "platform/SecureZero.h"
#include "resources/ResourceIds.h"
#include "storage/PassPhraseForms.h"
#include "storage/RecordFile.h"

namespace sekreta {

namespace {

// The entry editor shows an empty URL as this prefix, and a URL left at exactly this prefix is
// stored empty. Any other spelling ("HTTP://", "http:// ") is kept as typed.
constexpr std::string_view kUrlPrefix = "http://";

// The clipboard's text ends at a zero byte, as every text of the system the format came from does.
std::string_view UpToZeroByte(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

std::string StoredUrl(const std::string& edited)
{
    return edited == kUrlPrefix ? std::string() : edited;
}

// The generator as both of its callers start it: eight lower-case letters.
void PresetGenerator(CGeneratorDlg& generator)
{
    generator.m_nLength = 8;
    generator.m_bLower = 1;
}

}  // namespace

const CRuntimeClass CSekretaDoc::classCSekretaDoc {
    "CSekretaDoc", &CreateObjectOf<CSekretaDoc>, &CDocument::classCDocument};

const CRuntimeClass* CSekretaDoc::GetRuntimeClass() const
{
    return &classCSekretaDoc;
}

const CommandMap& CSekretaDoc::ClassCommandMap()
{
    static const CommandMap map {&CDocument::ClassCommandMap(),
        {
            MapCommand(ID_FILE_PASSPHRASE, &CSekretaDoc::OnFilePassPhrase),
            MapCommand(ID_EDIT_ADD, &CSekretaDoc::OnEditAdd),
            MapCommand(ID_EDIT_MODIFY, &CSekretaDoc::OnEditModify),
            MapUpdate(ID_EDIT_MODIFY, &CSekretaDoc::OnUpdateNeedSelection),
            MapCommand(ID_EDIT_DELETE, &CSekretaDoc::OnEditDelete),
            MapUpdate(ID_EDIT_DELETE, &CSekretaDoc::OnUpdateNeedSelection),
            MapCommand(ID_EDIT_COPYURL, &CSekretaDoc::OnEditCopyUrl),
            MapUpdate(ID_EDIT_COPYURL, &CSekretaDoc::OnUpdateEditCopyUrl),
            MapCommand(ID_EDIT_COPYUSERNAME, &CSekretaDoc::OnEditCopyUsername),
            MapUpdate(ID_EDIT_COPYUSERNAME, &CSekretaDoc::OnUpdateEditCopyUsername),
            MapCommand(ID_EDIT_COPYPASSWORD, &CSekretaDoc::OnEditCopyPassword),
            MapUpdate(ID_EDIT_COPYPASSWORD, &CSekretaDoc::OnUpdateEditCopyPassword),
            MapCommand(ID_TOOLS_GOTOURL, &CSekretaDoc::OnToolsGotoUrl),
            MapUpdate(ID_TOOLS_GOTOURL, &CSekretaDoc::OnUpdateToolsGotoUrl),
            MapCommand(ID_TOOLS_GENERATEPASSWORD, &CSekretaDoc::OnToolsGeneratePassword),
        }};
    return map;
}

const CommandMap& CSekretaDoc::GetCommandMap() const
{
    return ClassCommandMap();
}

CSekretaDoc::~CSekretaDoc()
{
    platform::SecureClear(m_strPassPhrase);
}

CSekretaView* CSekretaDoc::GetListView() const
{
    POSITION position = GetFirstViewPosition();
    return dynamic_cast<CSekretaView*>(GetNextView(position));
}

void CSekretaDoc::Serialize(CArchive& archive)
{
    if (m_strPassPhrase.empty()) {
        CPassPhraseDlg dialog;
        if (dialog.DoModal() != platform::IDOK)
            throw CFileException(CFileException::accessDenied);
        // Kept even when the read or write that follows fails.
        m_strPassPhrase = dialog.m_strPassPhrase;
    }
    if (archive.IsLoading()) {
        Load(archive);
        if (CSekretaView* view = GetListView())
            view->FillList(m_records);
    } else {
        Store(archive);
    }
}

void CSekretaDoc::DeleteContents()
{
    m_records.clear();
    ++m_nContentsGeneration;
}

bool CSekretaDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_records.clear();
    if (CSekretaView* view = GetListView())
        view->FillList(m_records);
    platform::SecureClear(m_strPassPhrase);
    return true;
}

void CSekretaDoc::Load(CArchive& archive)
{
    m_strPassPhrase = LoadRecords(archive, m_records, m_strPassPhrase);
}

void CSekretaDoc::Store(CArchive& archive) const
{
    StoreRecords(archive, m_records, m_strPassPhrase);
}

void CSekretaDoc::OnFilePassPhrase()
{
    CPassPhraseDlg dialog;
    if (dialog.DoModal() != platform::IDOK)
        return;
    std::string passPhrase = NewPassPhraseForm(m_strPassPhrase, dialog.m_strPassPhrase);
    // Assigning over the old phrase would keep its end where the new one is shorter.
    platform::SecureClear(m_strPassPhrase);
    m_strPassPhrase = passPhrase;
    platform::SecureClear(passPhrase);
    SetModifiedFlag(true);
}

int CSekretaDoc::GetSelectedIndex() const
{
    const CSekretaView* view = GetListView();
    const int index = view ? view->GetSelectedIndex() : -1;
    // While a file loads, the list still shows the rows of the store already emptied.
    return index >= 0 && static_cast<std::size_t>(index) < m_records.size() ? index : -1;
}

void CSekretaDoc::OnEditAdd()
{
    CEntryDlg dialog;
    dialog.m_strUrl = kUrlPrefix;
    if (dialog.DoModal() != platform::IDOK)
        return;
    AccountRecord record {
        dialog.m_strAccount, StoredUrl(dialog.m_strUrl), dialog.m_strUser, dialog.m_strPassword, dialog.m_strNotes};
    m_records.push_back(record);
    if (CSekretaView* view = GetListView())
        view->AddEntry(record);
    SetModifiedFlag(true);
}

void CSekretaDoc::OnEditModify()
{
    const int index = GetSelectedIndex();
    if (index < 0)
        return;
    CEntryDlg dialog;
    {
        const AccountRecord& record = m_records[static_cast<std::size_t>(index)];
        dialog.m_strAccount = record.account;
        dialog.m_strUrl = record.url.empty() ? std::string(kUrlPrefix) : record.url;
        dialog.m_strUser = record.user;
        dialog.m_strPassword = record.password;
        dialog.m_strNotes = record.notes;
    }
    const std::uint64_t generation = m_nContentsGeneration;
    if (dialog.DoModal() != platform::IDOK)
        return;
    // The entry is looked up again: the store may have been replaced while the dialog was open
    // (the desktop session ending), and then the edit belongs to no entry of it.
    if (generation != m_nContentsGeneration || static_cast<std::size_t>(index) >= m_records.size())
        return;
    AccountRecord& record = m_records[static_cast<std::size_t>(index)];
    record
        = {dialog.m_strAccount, StoredUrl(dialog.m_strUrl), dialog.m_strUser, dialog.m_strPassword, dialog.m_strNotes};
    if (CSekretaView* view = GetListView())
        view->SetEntry(index, record);
    // Pressing OK counts as a change, whether or not any text differs.
    SetModifiedFlag(true);
}

void CSekretaDoc::ModifySelected()
{
    OnEditModify();
}

void CSekretaDoc::OnEditDelete()
{
    const int index = GetSelectedIndex();
    if (index < 0)
        return;
    m_records.erase(m_records.begin() + index);
    if (CSekretaView* view = GetListView())
        view->RemoveEntry(index);
    SetModifiedFlag(true);
}

void CSekretaDoc::OnUpdateNeedSelection(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetSelectedIndex() >= 0);
}

void CSekretaDoc::EnableForField(CCmdUI* cmdUI, std::string AccountRecord::*field) const
{
    const int index = GetSelectedIndex();
    cmdUI->Enable(index >= 0 && !(m_records[static_cast<std::size_t>(index)].*field).empty());
}

void CSekretaDoc::OnUpdateEditCopyUrl(CCmdUI* cmdUI)
{
    EnableForField(cmdUI, &AccountRecord::url);
}

void CSekretaDoc::OnUpdateEditCopyUsername(CCmdUI* cmdUI)
{
    EnableForField(cmdUI, &AccountRecord::user);
}

void CSekretaDoc::OnUpdateEditCopyPassword(CCmdUI* cmdUI)
{
    EnableForField(cmdUI, &AccountRecord::password);
}

void CSekretaDoc::OnUpdateToolsGotoUrl(CCmdUI* cmdUI)
{
    EnableForField(cmdUI, &AccountRecord::url);
}

void CSekretaDoc::CopyToClipboard(std::string_view text)
{
    AfxGetApp()->GetPlatform().clipboard.SetText(UpToZeroByte(text));
}

void CSekretaDoc::CopySecretToClipboard(std::string_view text)
{
    AfxGetApp()->GetPlatform().clipboard.SetSecretText(UpToZeroByte(text));
}

void CSekretaDoc::OnEditCopyUrl()
{
    if (const int index = GetSelectedIndex(); index >= 0)
        CopyToClipboard(m_records[static_cast<std::size_t>(index)].url);
}

void CSekretaDoc::OnEditCopyUsername()
{
    if (const int index = GetSelectedIndex(); index >= 0)
        CopyToClipboard(m_records[static_cast<std::size_t>(index)].user);
}

void CSekretaDoc::OnEditCopyPassword()
{
    if (const int index = GetSelectedIndex(); index >= 0)
        CopySecretToClipboard(m_records[static_cast<std::size_t>(index)].password);
}

void CSekretaDoc::OnToolsGotoUrl()
{
    const int index = GetSelectedIndex();
    if (index < 0)
        return;
    const AccountRecord& record = m_records[static_cast<std::size_t>(index)];
    // The password goes first, so it is there to paste into the page that opens; an empty one
    // too, so that no older password stays behind.
    CopySecretToClipboard(record.password);
    AfxGetApp()->GetPlatform().shell.OpenUrl(record.url, [] { AfxMessageBox("Failed to connect automatically."); });
}

void CSekretaDoc::OnToolsGeneratePassword()
{
    CGeneratorDlg generator;
    PresetGenerator(generator);
    if (generator.DoModal() != platform::IDOK)
        return;
    std::string password = generator.Generate();
    CopySecretToClipboard(password);
    AfxMessageBox("The password " + password + " has been copied to the clipboard");
    platform::SecureClear(password);
}

}  // namespace sekreta
