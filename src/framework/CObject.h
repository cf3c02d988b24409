#pragma once

#include <memory>

namespace sekreta {

class CObject;

// A class's record at run time: its name, how to make one, and its base class's record.
// The document template makes the document, frame and view through these.
struct CRuntimeClass {
    const char* m_lpszClassName;
    std::unique_ptr<CObject> (*m_pfnCreateObject)();  // null for a class that cannot be made alone
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, or null when the class has no factory.
    std::unique_ptr<CObject> CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

// The root of the framework's classes that carry a run-time class record.
class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* runtimeClass) const;

    static const CRuntimeClass classCObject;
};

// The factory a run-time class record points at.
template <typename T> std::unique_ptr<CObject> CreateObjectOf()
{
    return std::make_unique<T>();
}

// Makes an object through a record and hands it over as T; null when the record makes no T.
template <typename T> std::unique_ptr<T> CreateObjectAs(const CRuntimeClass* runtimeClass)
{
    std::unique_ptr<CObject> object = runtimeClass ? runtimeClass->CreateObject() : nullptr;
    if (auto* typed = dynamic_cast<T*>(object.get())) {
        object.release();
        return std::unique_ptr<T>(typed);
    }
    return nullptr;
}

}  // namespace sekreta
