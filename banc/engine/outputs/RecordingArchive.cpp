#include "engine/outputs/RecordingArchive.h"

#include <stdio.h>
#include <sys/stat.h>

#include <tarvic/platform/Archive.h>
#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/MemoryProfile.h>
#include <tarvic/platform/Text.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/model/ProfileScope.h"
#include "engine/outputs/ArchiveSeal.h"
#include "engine/outputs/SafeFile.h"
#include "engine/run/Setup.h"

namespace banc {
namespace {

// A recording of 256 blocks takes 260 KiB; anything much larger is no archive of ours.
constexpr std::streamsize kMaxArchiveBytes = 16 << 20;
constexpr std::uint32_t kMaxNameLength = 64;
// The letter, the mode, the longest count and the longest name.
constexpr std::size_t kHeaderBytes = 1 + 4 + 6 + kMaxNameLength;

std::string ArchiveNotWritten(const std::string& path, int error)
{
    return tarvic::Format("Impossible d'\xE9" "crire l'archive %s : %s.", path.c_str(),
                          tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
}

std::string NotRead(const std::string& path, int error)
{
    return tarvic::Format("Impossible de lire %s : %s.", path.c_str(),
                          tarvic::FileErrorReason(error, tarvic::FileUse::Read).c_str());
}

// Only a regular file is read: a folder opens as a stream of its own, a
// tube's open waits for a writer that may never come, a device never ends.
// What a tube, a socket or a device is, in a few words.
const char* SpecialKind(mode_t mode)
{
    const mode_t kind = mode & S_IFMT;
    return kind == S_IFIFO ? "c'est un tube" : kind == S_IFSOCK ? "c'est une socket" : "c'est un p\xE9riph\xE9rique";
}

std::string NotARegularFile(const std::string& path)
{
    struct stat file{};
    if (::stat(path.c_str(), &file) != 0) return NotRead(path, errno);
    if (S_ISREG(file.st_mode)) return {};
    if (S_ISDIR(file.st_mode)) return NotRead(path, EISDIR);
    return tarvic::Format("Impossible de lire %s : %s.", path.c_str(), SpecialKind(file.st_mode));
}

std::string Unreadable(const std::string& path)
{
    return tarvic::Format("%s n'est pas une archive d'essai lisible.", path.c_str());
}

template <class T>
std::unique_ptr<T> ReadElement(CArchive& ar, const CRuntimeClass* expected)
{
    CObject* object = ar.ReadObject(expected);
    if (!object) return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(object));
}

bool SameClass(const CObject* object, const CObject& model)
{
    return object &&
           std::strcmp(object->GetRuntimeClass()->m_lpszClassName, model.GetRuntimeClass()->m_lpszClassName) == 0;
}

std::string ReadName(CArchive& ar)
{
    const std::uint32_t length = ar.ReadCount();
    if (ar.Failed() || length > kMaxNameLength) return {};
    std::string name(length, '\0');
    ar.Read(name.data(), length);
    return name;
}

// The experiment's bench, mode and measured quantity, that begin the archive.
bool ReadHeader(CArchive& ar, Settings& settings)
{
    char letter = 0;
    std::int32_t mode = -1;
    ar >> letter >> mode;
    const std::string measure = ReadName(ar);
    settings.bench = FindBench(letter);
    if (ar.Failed() || !settings.bench) return false;
    settings.mode = FindMode(*settings.bench, std::to_string(mode));
    settings.measure = FindMeasure(*settings.bench, measure);
    return settings.mode && settings.measure;
}

}  // namespace

std::string ArchiveBytes(const Settings& settings, const Elements& elements)
{
    std::stringstream buffer;
    {
        CArchive ar(buffer, CArchive::store);
        const std::string measure = settings.Measure().name;
        ar << settings.bench->letter << static_cast<std::int32_t>(settings.mode->number);
        ar.WriteCount(static_cast<std::uint32_t>(measure.size()));
        ar.Write(measure.data(), measure.size());
        ar.WriteObject(elements.bench.get());
        ar.WriteObject(elements.controller.get());
        ar.WriteObject(elements.generator.get());
        ar.WriteObject(elements.recording.get());
        ar.Close();
    }
    return Sealed(buffer.str());
}

std::string SaveArchive(const std::string& path, const Settings& settings, const Elements& elements)
{
    if (std::string kept = SpecialFileKept(path); !kept.empty()) return kept;
    if (const int error = WriteWholeFile(path, ArchiveBytes(settings, elements))) return ArchiveNotWritten(path, error);
    return {};
}

std::string LoadArchive(const std::string& path, LoadedExperiment& loaded)
{
    loaded.notice.clear();
    if (std::string refused = NotARegularFile(path); !refused.empty()) return refused;
    errno = 0;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return NotRead(path, errno);
    const std::streamsize size = in.tellg();
    if (size < 0 || size > kMaxArchiveBytes) return Unreadable(path);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size)) return Unreadable(path);
    return LoadArchiveBytes(std::move(bytes), path, loaded);
}

std::string LoadArchiveBytes(std::string bytes, const std::string& path, LoadedExperiment& loaded)
{
    loaded.notice.clear();
    const Seal seal = Unseal(bytes);
    if (seal == Seal::Broken)
        return tarvic::Format("%s est endommag\xE9" "e : son contenu ne correspond plus \xE0 sa somme de contr\xF4le.",
                              path.c_str());
    std::stringstream buffer(std::move(bytes));

    CArchive ar(buffer, CArchive::load);
    Settings& settings = loaded.settings;
    if (!ReadHeader(ar, settings)) return Unreadable(path);

    // The elements take their bench and mode from the profile when they are made.
    const auto profile = std::make_shared<tarvic::MemoryProfile>();
    profile->WriteProfileInt("TYPE", "PO", settings.bench->letter);
    profile->WriteProfileInt("TYPE", "REGULATEUR", settings.mode->number);
    ProfileScope scope(profile);
    Elements& elements = loaded.elements;
    elements.bench = ReadElement<CEidElement>(ar, RUNTIME_CLASS(CEidElement));
    elements.controller = ReadElement<CEidElement>(ar, RUNTIME_CLASS(CEidElement));
    elements.generator = ReadElement<CGeneFonction>(ar, RUNTIME_CLASS(CGeneFonction));
    elements.recording = ReadElement<CEnregistrement>(ar, RUNTIME_CLASS(CEnregistrement));
    const bool complete = !ar.Failed() && elements.recording && elements.generator &&
                          SameClass(elements.bench.get(), *settings.bench->make()) &&
                          SameClass(elements.controller.get(), *settings.mode->controller->make());
    if (!complete) {
        elements = Elements{};
        return Unreadable(path);
    }
    GeneratorInBenchUnits(settings, elements);
    loaded.notice = seal == Seal::Absent
                        ? tarvic::Format(
                              "%s n'a pas de somme de contr\xF4le (archive d'une version ant\xE9rieure ou "
                              "d'une autre application) : son contenu n'a pas pu \xEAtre v\xE9rifi\xE9.",
                              path.c_str())
                        : "";
    return {};
}

bool IsArchive(const std::string& path)
{
    // Nothing but a regular file is one, and a tube's open would wait for a writer.
    if (!NotARegularFile(path).empty()) return false;
    // The header is enough: an archive cut short is still the user's.
    std::ifstream in(path, std::ios::binary);
    char bytes[kHeaderBytes];
    in.read(bytes, sizeof bytes);
    std::stringstream buffer(std::string(bytes, static_cast<std::size_t>(in.gcount())));
    CArchive ar(buffer, CArchive::load);
    Settings settings;
    return ReadHeader(ar, settings);
}

std::string SpecialFileKept(const std::string& path)
{
    struct stat file{};
    if (::stat(path.c_str(), &file) != 0 || S_ISREG(file.st_mode) || S_ISDIR(file.st_mode)) return {};
    return tarvic::Format("Impossible d'\xE9" "crire %s : %s.", path.c_str(), SpecialKind(file.st_mode));
}

std::string ArchiveKept(const std::string& path)
{
    if (!IsArchive(path)) return {};
    return tarvic::Format("%s est une archive d'essai : seule une archive peut la remplacer.", path.c_str());
}

}  // namespace banc
