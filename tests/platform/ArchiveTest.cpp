#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

#include "tarvic/platform/Archive.h"

namespace {

// A small serializable class, as a library class would be.
class CSample : public CObject {
    TARVIC_DECLARE_SERIAL(CSample)

public:
    CSample() = default;
    explicit CSample(std::int16_t value) : m_value(value) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
    std::int16_t m_value = 0;
};
TARVIC_IMPLEMENT_SERIAL(CSample, CObject, 0)

class COther : public CObject {
    TARVIC_DECLARE_DYNCREATE(COther)
};
TARVIC_IMPLEMENT_DYNCREATE(COther, CObject)

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values) bytes.push_back(static_cast<char>(v));
    return bytes;
}

std::string Store(const std::function<void(CArchive&)>& write)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        write(ar);
    }
    return stream.str();
}

}  // namespace

TEST(Archive, ScalarsAreLittleEndian)
{
    const auto bytes = Store([](CArchive& ar) {
        ar << std::int16_t{-2} << std::int32_t{0x01020304} << 'A' << true << 1.0f << std::uint8_t{0xFE};
    });
    EXPECT_EQ(bytes, Bytes({0xFE, 0xFF, 0x04, 0x03, 0x02, 0x01, 'A', 1, 0x00, 0x00, 0x80, 0x3F, 0xFE}));

    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    std::int16_t s;
    std::int32_t i;
    char c;
    bool b;
    float f;
    std::uint8_t u;
    ar >> s >> i >> c >> b >> f >> u;
    EXPECT_FALSE(ar.Failed());
    EXPECT_EQ(s, -2);
    EXPECT_EQ(i, 0x01020304);
    EXPECT_EQ(c, 'A');
    EXPECT_TRUE(b);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(u, 0xFE);
    EXPECT_TRUE(ar.IsBufferEmpty());
}

TEST(Archive, NothingReachesTheStreamBeforeClose)
{
    std::stringstream stream;
    CArchive ar(stream, CArchive::store);
    ar << std::int32_t{7};
    EXPECT_EQ(stream.str(), "");
    ar.Close();
    EXPECT_EQ(stream.str(), Bytes({7, 0, 0, 0}));
}

TEST(Archive, ReadPastTheEndFailsWithZeros)
{
    std::stringstream stream(Bytes({1, 2, 3}));
    CArchive ar(stream, CArchive::load);
    std::int16_t first = 0;
    std::int32_t second = 99;
    ar >> first >> second;
    EXPECT_EQ(first, 0x0201);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(ar.Failed());
    std::int16_t third = 5;
    ar >> third;
    EXPECT_EQ(third, 0);
}

TEST(Archive, CountsEscapeAt0xFFFF)
{
    const auto bytes = Store([](CArchive& ar) {
        ar.WriteCount(3);
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0xFFFF);
        ar.WriteCount(0x12345);
    });
    EXPECT_EQ(bytes, Bytes({3, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0}));
    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), 3u);
    EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
    EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
    EXPECT_EQ(ar.ReadCount(), 0x12345u);
}

TEST(Archive, ObjectListOfOneClassWritesTheClassOnceThenAReference)
{
    std::vector<std::unique_ptr<CSample>> list;
    list.push_back(std::make_unique<CSample>(0x1234));
    list.push_back(std::make_unique<CSample>(-1));
    const auto bytes = Store([&](CArchive& ar) { ar.WriteObjectList(list); });
    // count 2; new class 0xFFFF, schema 0, length 7, "CSample", the object; then
    // class reference 0x8001 (the class took index 1, the first object index 2).
    EXPECT_EQ(bytes, Bytes({2,   0,   0xFF, 0xFF, 0,    0,    7,    0,    'C',  'S', 'a',
                            'm', 'p', 'l',  'e',  0x34, 0x12, 0x01, 0x80, 0xFF, 0xFF}));

    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    std::vector<std::unique_ptr<CSample>> loaded;
    ASSERT_TRUE(ar.ReadObjectList(loaded));
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0]->m_value, 0x1234);
    EXPECT_EQ(loaded[1]->m_value, -1);
    EXPECT_TRUE(ar.IsBufferEmpty());
}

TEST(Archive, ObjectsAfterManyIndexesKeepCountingClassesAndObjectsTogether)
{
    std::vector<std::unique_ptr<CSample>> list;
    for (int i = 0; i < 3; ++i) list.push_back(std::make_unique<CSample>(static_cast<std::int16_t>(i)));
    const auto bytes = Store([&](CArchive& ar) {
        ar.WriteObject(nullptr);
        ar.WriteObjectList(list);
        ar.WriteObject(list[1].get());  // already written: a back reference to index 3
    });
    EXPECT_EQ(bytes.substr(0, 2), Bytes({0, 0}));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), Bytes({3, 0}));
}

TEST(Archive, CountLargerThanTheStreamStopsCleanly)
{
    auto bytes = Store([](CArchive& ar) {
        CSample one(5);
        ar.WriteCount(0xFFFE);
        ar.WriteObject(&one);
    });
    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    std::vector<std::unique_ptr<CSample>> loaded;
    EXPECT_FALSE(ar.ReadObjectList(loaded));
    EXPECT_TRUE(ar.Failed());
    EXPECT_EQ(loaded.size(), 1u);
}

TEST(Archive, MalformedObjectRecordsFail)
{
    const auto load = [](const std::string& bytes) {
        std::stringstream stream(bytes);
        CArchive ar(stream, CArchive::load);
        std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(CSample)));
        return std::make_pair(object != nullptr, ar.Failed());
    };
    // unknown class name
    EXPECT_EQ(load(Bytes({0xFF, 0xFF, 0, 0, 3, 0, 'C', 'Z', 'Z'})), std::make_pair(false, true));
    // wrong schema
    EXPECT_EQ(load(Bytes({0xFF, 0xFF, 1, 0, 7, 0, 'C', 'S', 'a', 'm', 'p', 'l', 'e', 0, 0})),
              std::make_pair(false, true));
    // a class that is creatable but not serializable, and not the expected one
    EXPECT_EQ(load(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 6, 0, 'C', 'O', 't', 'h', 'e', 'r'})), std::make_pair(false, true));
    // a reference to a class never defined
    EXPECT_EQ(load(Bytes({0x05, 0x80})), std::make_pair(false, true));
    // a back reference to an object: not owned by the caller, refused
    EXPECT_EQ(load(Bytes({0x02, 0x00})), std::make_pair(false, true));
    // a name length beyond any class name
    EXPECT_EQ(load(Bytes({0xFF, 0xFF, 0, 0, 0xFF, 0x7F})), std::make_pair(false, true));
    // truncated in the middle of the object
    EXPECT_EQ(load(Bytes({0xFF, 0xFF, 0, 0, 7, 0, 'C', 'S', 'a', 'm', 'p', 'l', 'e', 0x34})),
              std::make_pair(true, true));
    // null
    EXPECT_EQ(load(Bytes({0, 0})), std::make_pair(false, false));
}

TEST(RuntimeClass, CreatesRegisteredClassesByName)
{
    const CRuntimeClass* cls = CRuntimeClass::FromName("CSample");
    ASSERT_EQ(cls, RUNTIME_CLASS(CSample));
    std::unique_ptr<CObject> object(cls->CreateObject());
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CSample)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(COther)));
    EXPECT_TRUE(object->IsSerializable());
    EXPECT_EQ(CRuntimeClass::FromName("csample"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CComThread")->m_wSchema, 0);
}
