#pragma once

#include "framework/CArchive.h"
#include "framework/CDocument.h"
#include "storage/AccountRecord.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta {

class CCmdUI;
class CSekretaView;

// The one document: the account entries in list order, and the pass phrase of their file. It
// handles every command on the entries and keeps its list view in step after each change.
class CSekretaDoc : public CDocument {
public:
    static const CRuntimeClass classCSekretaDoc;
    const CRuntimeClass* GetRuntimeClass() const override;
    static const CommandMap& ClassCommandMap();

    // Wipes the pass phrase; the records wipe themselves.
    ~CSekretaDoc() override;

    // Asks for the pass phrase first when the document holds none; a cancelled prompt fails
    // with CFileException(accessDenied). Loading refills the list.
    void Serialize(CArchive& archive) override;
    // Empties the store; the pass phrase stays.
    void DeleteContents() override;
    // Empties the store and the list, and forgets the pass phrase, wiping it.
    bool OnNewDocument() override;

    // Reads the whole file into the (empty) store under m_strPassPhrase.
    void Load(CArchive& archive);
    // Writes the whole store under m_strPassPhrase, which must not be empty.
    void Store(CArchive& archive) const;

    // File > Pass Phrase: a new pass phrase for the next save, kept in the Windows form when
    // the document holds that form and the new phrase has one (NewPassPhraseForm).
    void OnFilePassPhrase();

    // Edit > Add, Modify and Delete. Delete asks nothing.
    void OnEditAdd();
    void OnEditModify();
    void OnEditDelete();
    // Modify and Delete need a selected entry.
    void OnUpdateNeedSelection(CCmdUI* cmdUI);

    // Put the selected entry's URL, user or password on the clipboard.
    void OnEditCopyUrl();
    void OnEditCopyUsername();
    void OnEditCopyPassword();
    // The password to the clipboard, then the URL, exactly as stored, to the desktop's opener.
    void OnToolsGotoUrl();
    // A new password from the generator, on the clipboard and shown in a message.
    void OnToolsGeneratePassword();
    // Each needs a selected entry whose field is not empty.
    void OnUpdateEditCopyUrl(CCmdUI* cmdUI);
    void OnUpdateEditCopyUsername(CCmdUI* cmdUI);
    void OnUpdateEditCopyPassword(CCmdUI* cmdUI);
    void OnUpdateToolsGotoUrl(CCmdUI* cmdUI);

    // Replaces what the clipboard holds with the text up to its first zero byte, if any; a
    // clipboard that cannot be had loses the copy silently.
    void CopyToClipboard(std::string_view text);
    // The same for a password, marked for clipboard managers to keep out of their history.
    void CopySecretToClipboard(std::string_view text);

    // What a double-click on an entry does: the same as Edit > Modify.
    virtual void ModifySelected();

    std::vector<AccountRecord> m_records;
    // Empty while the document holds no pass phrase yet.
    std::string m_strPassPhrase;

protected:
    const CommandMap& GetCommandMap() const override;

private:
    CSekretaView* GetListView() const;
    // The selected entry's index in m_records, or -1; never an index the store does not hold.
    int GetSelectedIndex() const;
    // Enables the command when an entry is selected and its `field` is not empty.
    void EnableForField(CCmdUI* cmdUI, std::string AccountRecord::*field) const;

    // Advanced whenever the store is emptied, so that a command that waited for a dialog knows
    // whether its entry is still the one it showed.
    std::uint64_t m_nContentsGeneration = 0;
};

}  // namespace sekreta
