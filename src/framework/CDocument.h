#pragma once

#include <string>

namespace sekreta {

// A document: what one file holds, with its path and whether it changed since it was saved.
class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(std::string pathName) { m_strPathName = std::move(pathName); }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // Empties the document before a file is read into it and after a read failed.
    virtual void DeleteContents() { }

private:
    std::string m_strPathName;
    bool m_bModified = false;
};

}  // namespace sekreta
