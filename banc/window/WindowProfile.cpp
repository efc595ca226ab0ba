#include "window/WindowProfile.h"

#include <tarvic/platform/Profile.h>
#include <tarvic/platform/Text.h>

#include <cstdlib>

namespace banc::window {
namespace {

constexpr const char* kWindow = "FENETRE";
constexpr const char* kEmbedded = "simulee";
constexpr const char* kPort = "port";

std::string ActionsEntry(const Mode& mode) { return std::string("ACTIONS_") + mode.name; }

}  // namespace

WindowProfile::WindowProfile(std::shared_ptr<tarvic::Profile> profile) : m_profile(std::move(profile)) {}

const Bench& WindowProfile::LastBench() const
{
    const Bench* bench = FindBench(m_profile->GetProfileString(kWindow, "BANC", ""));
    return bench ? *bench : Benches().front();
}

void WindowProfile::SaveBench(const Bench& bench) { m_profile->WriteProfileString(kWindow, "BANC", bench.name); }

Settings WindowProfile::Load(const Bench& bench, const Mode* mode) const
{
    const std::string section = bench.name;
    Settings settings;
    settings.bench = &bench;
    settings.mode = mode ? mode : FindMode(bench, m_profile->GetProfileString(section, "MODE", ""));
    if (!settings.mode) settings.mode = &bench.modes.front();
    settings.command = FindCommand(bench, m_profile->GetProfileString(section, "COMMANDE", ""));
    settings.measure = FindMeasure(bench, m_profile->GetProfileString(section, "MESURE", ""));
    settings.routed = m_profile->GetProfileInt(section, "ISOLEE", 0) == 0;
    settings.feedback = m_profile->GetProfileInt(section, "RETOUR", 1) != 0;
    if (settings.mode->controller->hasActions) {
        const std::string actions = m_profile->GetProfileString(section, ActionsEntry(*settings.mode), "");
        settings.actions = actions.empty() ? std::string(kDefaultActions) : actions;
    }
    return settings;
}

void WindowProfile::Save(const Settings& settings)
{
    const std::string section = settings.bench->name;
    m_profile->WriteProfileString(section, "MODE", settings.mode->name);
    m_profile->WriteProfileString(section, "COMMANDE", settings.Command().name);
    m_profile->WriteProfileString(section, "MESURE", settings.Measure().name);
    m_profile->WriteProfileInt(section, "ISOLEE", settings.routed ? 0 : 1);
    m_profile->WriteProfileInt(section, "RETOUR", settings.feedback ? 1 : 0);
    if (settings.actions) m_profile->WriteProfileString(section, ActionsEntry(*settings.mode), *settings.actions);
}

CardChoice WindowProfile::Card() const
{
    CardChoice card;
    card.embedded = m_profile->GetProfileString(kWindow, "CARTE", kEmbedded) != kPort;
    const std::string speed = m_profile->GetProfileString(kWindow, "VITESSE", "1");
    char* end = nullptr;
    const double value = std::strtod(speed.c_str(), &end);
    if (end != speed.c_str() && value > 0) card.speed = value;
    card.port = m_profile->GetProfileString(kWindow, "PORT", "");
    return card;
}

void WindowProfile::SaveCard(const CardChoice& card)
{
    m_profile->WriteProfileString(kWindow, "CARTE", card.embedded ? kEmbedded : kPort);
    m_profile->WriteProfileString(kWindow, "VITESSE", tarvic::Format("%g", card.speed));
    m_profile->WriteProfileString(kWindow, "PORT", card.port);
}

std::string WindowProfile::Folder() const { return m_profile->GetProfileString(kWindow, "DOSSIER", ""); }

void WindowProfile::SaveFolder(const std::string& folder) { m_profile->WriteProfileString(kWindow, "DOSSIER", folder); }

std::string WindowProfile::KeptRun() const { return m_profile->GetProfileString(kWindow, "ESSAI_GARDE", ""); }

void WindowProfile::SaveKeptRun(const std::string& path)
{
    m_profile->WriteProfileString(kWindow, "ESSAI_GARDE", path);
}

}  // namespace banc::window
