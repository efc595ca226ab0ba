#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "tarvic/platform/Export.h"
#include "tarvic/platform/Object.h"

// The serialization stream of the host class library, byte for byte:
// little-endian integers, IEEE floats, objects written with their class name on
// the first use of the class and a back reference afterwards (classes and
// objects share one index counter that starts at 1), counts of 0xFFFF or more
// escaped as 0xFFFF + 32 bits.
//
// Nothing here throws: a read past the end of the stream or a malformed record
// puts the archive in its failed state, after which reads give zeros and
// nulls. A count read from the stream is never used to allocate ahead.
class TARVIC_EXPORT CArchive {
public:
    enum Mode { store = 0, load = 1 };

    CArchive(std::iostream& stream, Mode mode);
    ~CArchive();  // closes
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // Stored bytes reach the stream here (or at destruction).
    void Close();
    bool Failed() const { return m_failed; }
    // A loader that finds a record impossible (counts that contradict each
    // other, say) fails the archive as a short one would.
    void Fail() { m_failed = true; }
    // True when a load has consumed the whole stream.
    bool IsBufferEmpty();

    void Write(const void* data, std::size_t size);
    // Reads exactly `size` bytes; on a short stream gives zeros and fails.
    bool Read(void* data, std::size_t size);

    // Fixed-width types only: `long` is not the host's 32-bit LONG here.
    template <class T, class = std::enable_if_t<std::is_arithmetic_v<T>>>
    CArchive& operator<<(T value)
    {
        WriteLittleEndian(&value, sizeof value);
        return *this;
    }
    template <class T, class = std::enable_if_t<std::is_arithmetic_v<T>>>
    CArchive& operator>>(T& value)
    {
        ReadLittleEndian(&value, sizeof value);
        return *this;
    }

    void WriteCount(std::uint32_t count);
    std::uint32_t ReadCount();

    // A null pointer is written as the null tag; an object already written as a
    // back reference to it.
    void WriteObject(const CObject* object);
    // Creates the object from its class record and loads it; the caller owns it.
    // Null on a null tag; null and failed when the class is unknown, not
    // serializable, not derived from `expected` (when given), of another schema
    // than the stored one, or when the record is a back reference to an object
    // loaded before (none of our formats shares objects, and handing out a second
    // owner of one would be a double delete waiting to happen).
    CObject* ReadObject(const CRuntimeClass* expected);

    // The object-list format: a count, then each object.
    template <class Container>
    void WriteObjectList(const Container& objects)
    {
        WriteCount(static_cast<std::uint32_t>(objects.size()));
        for (const auto& object : objects) WriteObject(&*object);
    }
    // Reads a list written by WriteObjectList, appending to `out` as it goes. Stops
    // at the first failure, with the archive failed and the objects read so far
    // left in `out`, so that the caller decides what a partial list is worth.
    template <class T>
    bool ReadObjectList(std::vector<std::unique_ptr<T>>& out)
    {
        const std::uint32_t count = ReadCount();
        for (std::uint32_t i = 0; i < count && !m_failed; ++i) {
            CObject* object = ReadObject(T::GetThisClass());
            if (!object) {
                Fail();
                break;
            }
            out.emplace_back(static_cast<T*>(object));
        }
        return !m_failed;
    }

private:
    void WriteLittleEndian(const void* value, std::size_t size);
    void ReadLittleEndian(void* value, std::size_t size);
    void WriteClass(const CRuntimeClass* cls);
    const CRuntimeClass* ReadClass(std::uint16_t smallTag, std::uint32_t tag);

    std::iostream& m_stream;
    Mode m_mode;
    bool m_failed = false;
    bool m_closed = false;
    std::string m_buffer;  // what is stored, until Close

    std::uint32_t m_mapCount = 1;                            // next index when storing; 0 is the null reference
    std::map<const void*, std::uint32_t> m_storeMap;         // classes and objects already written
    std::vector<const CRuntimeClass*> m_loadArray{nullptr};  // by index; null for an object
};
