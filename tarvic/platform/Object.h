#pragma once

#include <cstdint>
#include <string>

#include "tarvic/platform/Export.h"

class CArchive;
class CObject;

// The record a class keeps of itself: its name, the schema number written in
// archives, how to create an instance, and its base. Records of creatable
// classes are registered by name when the library is loaded, so that a loader
// can create an object from the class name it reads.
struct TARVIC_EXPORT CRuntimeClass {
    const char* m_lpszClassName;
    std::uint16_t m_wSchema;  // 0xFFFF: creatable but not serializable
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;

    // The registered record of that name, or null.
    static const CRuntimeClass* FromName(const std::string& className);
    // Adds a record to the registry; done by TARVIC_IMPLEMENT_* at load time.
    static void Register(const CRuntimeClass* record);
};

class TARVIC_EXPORT CObject {
public:
    static const CRuntimeClass classCObject;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* cls) const;
    bool IsSerializable() const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// In the class body: the class record and its accessor.
#define TARVIC_DECLARE_DYNAMIC(class_name)                                    \
public:                                                                       \
    static const CRuntimeClass class##class_name;                             \
    static const CRuntimeClass* GetThisClass() { return &class##class_name; } \
    const CRuntimeClass* GetRuntimeClass() const override;

// Same, for a class that can be created from its record.
#define TARVIC_DECLARE_DYNCREATE(class_name) \
    TARVIC_DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define TARVIC_DECLARE_SERIAL(class_name) TARVIC_DECLARE_DYNCREATE(class_name)

#define TARVIC_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, schema, create)                                    \
    const CRuntimeClass class_name::class##class_name = {#class_name, schema, create, RUNTIME_CLASS(base_name)}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }               \
    static const bool tarvicRegistered##class_name = (CRuntimeClass::Register(RUNTIME_CLASS(class_name)), true);

// In the source file.
#define TARVIC_IMPLEMENT_DYNAMIC(class_name, base_name) \
    TARVIC_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, 0xFFFF, nullptr)

#define TARVIC_IMPLEMENT_DYNCREATE(class_name, base_name)          \
    CObject* class_name::CreateObject() { return new class_name; } \
    TARVIC_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, 0xFFFF, class_name::CreateObject)

#define TARVIC_IMPLEMENT_SERIAL(class_name, base_name, schema)     \
    CObject* class_name::CreateObject() { return new class_name; } \
    TARVIC_IMPLEMENT_RUNTIMECLASS_(class_name, base_name, schema, class_name::CreateObject)
