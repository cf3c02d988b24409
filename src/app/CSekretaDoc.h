#pragma once

#include "framework/CArchive.h"
#include "framework/CDocument.h"
#include "storage/AccountRecord.h"

#include <string>
#include <vector>

namespace sekreta {

// The one document: the account entries in list order, and the pass phrase of their file.
class CSekretaView;

class CSekretaDoc : public CDocument {
public:
    static const CRuntimeClass classCSekretaDoc;
    const CRuntimeClass* GetRuntimeClass() const override;
    static const CommandMap& ClassCommandMap();

    // Asks for the pass phrase first when the document holds none; a cancelled prompt fails
    // with CFileException(accessDenied). Loading refills the list.
    void Serialize(CArchive& archive) override;
    // Empties the store; the pass phrase stays.
    void DeleteContents() override;
    // Empties the store and the list, and forgets the pass phrase.
    bool OnNewDocument() override;

    // Reads the whole file into the (empty) store under m_strPassPhrase.
    void Load(CArchive& archive);
    // Writes the whole store under m_strPassPhrase, which must not be empty.
    void Store(CArchive& archive) const;

    // File > Pass Phrase: a new pass phrase for the next save.
    void OnFilePassPhrase();

    // What a double-click on an entry does: the same as Edit > Modify.
    virtual void ModifySelected();

    std::vector<AccountRecord> m_records;
    // Empty while the document holds no pass phrase yet.
    std::string m_strPassPhrase;

protected:
    const CommandMap& GetCommandMap() const override;

private:
    CSekretaView* GetListView() const;
};

}  // namespace sekreta
