#include "BenchSession.h"

#include <dlfcn.h>

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/IniProfile.h>
#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cerrno>

#include "Errors.h"
#include "cli/Resolve.h"
#include "cli/Run.h"
#include "engine/run/Setup.h"

namespace banc::python {
namespace {

// The folder of this module: the installed simulated card is found from it,
// whatever the prefix.
std::string ModuleFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) == 0 || !info.dli_fname) return ".";
    const std::string path = info.dli_fname;
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

cli::Request Parsed(const Arguments& arguments)
{
    std::vector<std::string> words = {"tarvic"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    cli::Request request;
    if (std::string error = cli::ParseCommandLine(static_cast<int>(words.size()), argv.data(), request); !error.empty())
        throw UsageError(error);
    return request;
}

}  // namespace

bool IsParameterName(const std::string& name)
{
    const std::vector<std::string> names = cli::ParameterNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

BenchSession::BenchSession(const Arguments& arguments) : m_arguments(arguments)
{
    Settings settings;
    const cli::Request request = Read({}, settings);
    m_profilePath = request.profile.empty()
                        ? tarvic::DefaultProfilePath(std::string("tarvic-banc-") + settings.bench->name)
                        : request.profile;
    m_profile = std::make_shared<tarvic::IniProfile>(m_profilePath);
    const CardPlace place = cli::CardPlaceOf(request, settings, ModuleFolder() + "/" TARVIC_PYTHON_TO_BINDIR);
    OpenedCard opened = OpenCard(place, m_card);
    if (!opened.link) throw SystemError(opened.errorCode, opened.error);
    m_link = std::move(opened.link);
    m_port = place.simulated ? m_card.Path() : place.port;
}

BenchSession::~BenchSession() { Close(); }

cli::Request BenchSession::Read(const Arguments& more, Settings& settings) const
{
    Arguments all = m_arguments;
    all.insert(all.end(), more.begin(), more.end());
    cli::Request request = Parsed(all);
    if (std::string error = cli::Resolve(request, settings); !error.empty()) throw UsageError(error);
    return request;
}

void BenchSession::Configure(const Settings& settings, Elements& elements) const
{
    CheckOpen();
    const SetupResult setup = banc::Configure(settings, m_profile, elements);
    if (!setup.error.empty()) throw UsageError(setup.error);
    if (!setup.saved)
        throw SystemError(
            setup.saveError,
            tarvic::Format("Les r\xE9glages n'ont pas pu \xEAtre gard\xE9s dans %s : %s.", m_profilePath.c_str(),
                           tarvic::FileErrorReason(setup.saveError, tarvic::FileUse::Write).c_str()));
}

std::vector<std::pair<std::string, float>> BenchSession::Parameters(const Settings& settings) const
{
    Elements elements;
    Configure(settings, elements);
    std::vector<std::pair<std::string, float>> values;
    for (const auto* table : {&CommonParameters(), &settings.bench->parameters})
        for (const ParameterDef& def : *table) {
            float value = 0;
            if (Applies(def, settings, elements) && elements.Of(def.role)->LitFParam(def.index, value))
                values.emplace_back(def.name, value);
        }
    return values;
}

void BenchSession::Close()
{
    m_link.reset();
    m_card.Stop();
}

void BenchSession::CheckOpen() const
{
    if (!m_link) throw UsageError("Le banc est ferm\xE9 : ouvrez-en un autre avec tarvic.Banc(...).");
}

CardLink& BenchSession::Link()
{
    CheckOpen();
    return *m_link;
}

}  // namespace banc::python
