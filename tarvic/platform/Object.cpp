#include "tarvic/platform/Object.h"

#include <map>
#include <mutex>

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, const CRuntimeClass*> byName;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF, nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* cls = this; cls; cls = cls->m_pBaseClass)
        if (cls == base) return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const std::string& className)
{
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto found = registry.byName.find(className);
    return found == registry.byName.end() ? nullptr : found->second;
}

void CRuntimeClass::Register(const CRuntimeClass* record)
{
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.byName.emplace(record->m_lpszClassName, record);
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

CObject::~CObject() = default;

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

bool CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
