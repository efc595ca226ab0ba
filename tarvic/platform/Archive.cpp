#include "tarvic/platform/Archive.h"

#include <bit>
#include <cstring>
#include <istream>

namespace {

constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::uint16_t kMaxClassNameLength = 64;

static_assert(std::endian::native == std::endian::little, "archives are little-endian");

}  // namespace

CArchive::CArchive(std::iostream& stream, Mode mode) : m_stream(stream), m_mode(mode) {}

CArchive::~CArchive() { Close(); }

void CArchive::Close()
{
    if (m_closed) return;
    m_closed = true;
    if (IsStoring()) {
        m_stream.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_stream.flush();
        if (!m_stream) Fail();
    }
}

bool CArchive::IsBufferEmpty()
{
    if (!IsLoading()) return true;
    return m_stream.peek() == std::char_traits<char>::eof();
}

void CArchive::Write(const void* data, std::size_t size) { m_buffer.append(static_cast<const char*>(data), size); }

bool CArchive::Read(void* data, std::size_t size)
{
    if (m_failed) {
        std::memset(data, 0, size);
        return false;
    }
    m_stream.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    const auto got = static_cast<std::size_t>(m_stream.gcount());
    if (got < size) {
        std::memset(data, 0, size);
        Fail();
        return false;
    }
    return true;
}

void CArchive::WriteLittleEndian(const void* value, std::size_t size) { Write(value, size); }

void CArchive::ReadLittleEndian(void* value, std::size_t size) { Read(value, size); }

void CArchive::WriteCount(std::uint32_t count)
{
    if (count < 0xFFFF) {
        *this << static_cast<std::uint16_t>(count);
    } else {
        *this << std::uint16_t{0xFFFF} << count;
    }
}

std::uint32_t CArchive::ReadCount()
{
    std::uint16_t small = 0;
    *this >> small;
    if (small != 0xFFFF) return small;
    std::uint32_t big = 0;
    *this >> big;
    return big;
}

void CArchive::WriteClass(const CRuntimeClass* cls)
{
    if (const auto known = m_storeMap.find(cls); known != m_storeMap.end()) {
        if (known->second < kBigObjectTag)
            *this << static_cast<std::uint16_t>(kClassTag | known->second);
        else
            *this << kBigObjectTag << (kBigClassTag | known->second);
        return;
    }
    const auto length = static_cast<std::uint16_t>(std::strlen(cls->m_lpszClassName));
    *this << kNewClassTag << cls->m_wSchema << length;
    Write(cls->m_lpszClassName, length);
    m_storeMap.emplace(cls, m_mapCount++);
}

void CArchive::WriteObject(const CObject* object)
{
    if (!object) {
        *this << kNullTag;
        return;
    }
    if (const auto known = m_storeMap.find(object); known != m_storeMap.end()) {
        if (known->second < kBigObjectTag)
            *this << static_cast<std::uint16_t>(known->second);
        else
            *this << kBigObjectTag << known->second;
        return;
    }
    WriteClass(object->GetRuntimeClass());
    m_storeMap.emplace(object, m_mapCount++);
    // Serialize is not const in the host library; storing does not change the object.
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(std::uint16_t smallTag, std::uint32_t tag)
{
    if (smallTag == kNewClassTag) {
        std::uint16_t schema = 0;
        std::uint16_t length = 0;
        *this >> schema >> length;
        if (m_failed || length == 0 || length > kMaxClassNameLength) return nullptr;
        std::string name(length, '\0');
        if (!Read(name.data(), length)) return nullptr;
        const CRuntimeClass* cls = CRuntimeClass::FromName(name);
        if (!cls || cls->m_wSchema != schema) return nullptr;
        m_loadArray.push_back(cls);
        return cls;
    }
    const std::uint32_t index = tag & ~kBigClassTag;
    return index < m_loadArray.size() ? m_loadArray[index] : nullptr;
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected)
{
    std::uint16_t small = 0;
    *this >> small;
    if (m_failed) return nullptr;
    std::uint32_t tag = 0;
    if (small == kBigObjectTag) {
        *this >> tag;
        if (m_failed) return nullptr;
    } else {
        tag = (static_cast<std::uint32_t>(small & kClassTag) << 16) | (small & ~kClassTag);
    }
    if (!(tag & kBigClassTag)) {
        if (tag != kNullTag) Fail();  // a back reference to an object: see the header
        return nullptr;
    }
    const CRuntimeClass* cls = ReadClass(small, tag);
    if (!cls || !cls->m_pfnCreateObject || cls->m_wSchema == 0xFFFF || (expected && !cls->IsDerivedFrom(expected))) {
        Fail();
        return nullptr;
    }
    CObject* object = cls->CreateObject();
    m_loadArray.push_back(nullptr);
    object->Serialize(*this);
    return object;
}
