#pragma once

#include "framework/CArchive.h"
#include "framework/CDocument.h"
#include "storage/AccountRecord.h"

#include <string>
#include <vector>

namespace sekreta {

// The one document: the account entries in list order, and the pass phrase of their file.
class CSekretaDoc : public CDocument {
public:
    void DeleteContents() override;

    // Reads the whole file into the (empty) store under m_strPassPhrase.
    void Load(CArchive& archive);
    // Writes the whole store under m_strPassPhrase, which must not be empty.
    void Store(CArchive& archive) const;

    std::vector<AccountRecord> m_records;
    // Empty while the document holds no pass phrase yet.
    std::string m_strPassPhrase;
};

}  // namespace sekreta
