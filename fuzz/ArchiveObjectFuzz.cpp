// libFuzzer target: object records read from any archive. The reader creates
// only what it can load whole (no leak, no half object handed out), and every
// object it hands out stores a record that reads back into an object storing
// the same record.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "FuzzSupport.h"

using namespace tarvic::fuzz;

namespace {

std::string Record(const CObject& object)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        ar.WriteObject(&object);
    }
    return stream.str();
}

std::unique_ptr<CObject> Read(const std::string& record)
{
    std::stringstream stream(record);
    CArchive ar(stream, CArchive::load);
    std::unique_ptr<CObject> object(ar.ReadObject(nullptr));
    Check(!object || !ar.Failed(), "a failed read hands out no object");
    return object;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    UseBench(in.Byte());
    std::stringstream stream(in.Rest());
    CArchive ar(stream, CArchive::load);
    // Several records in one archive share its class index.
    for (int records = 0; records < 8 && !ar.Failed(); ++records) {
        std::unique_ptr<CObject> object(ar.ReadObject(nullptr));
        if (!object) break;
        Check(object->IsSerializable(), "only archivable classes are created");
        const std::string record = Record(*object);
        const auto again = Read(record);
        Check(again != nullptr, "a record written reads back");
        Check(again->GetRuntimeClass() == object->GetRuntimeClass(), "it reads back as its own class");
        Check(Record(*again) == record, "and stores the same record");
    }
    return 0;
}
