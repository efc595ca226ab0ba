#include "engine/run/Setup.h"

#include <tarvic/platform/Profile.h>
#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

#include <tarvic/platform/MemoryProfile.h>

#include "engine/model/FirstRunDefaults.h"
#include "engine/model/NumberText.h"
#include "engine/model/ProfileScope.h"
#include "engine/model/StagedProfile.h"
#include "engine/run/Download.h"

namespace banc {
namespace {

void Limits(const ParameterDef& def, CEidElement& element, const UnitView& levels, float& min, float& max)
{
    switch (def.limit) {
    case Limit::Level:
        min = levels.min;
        max = levels.max;
        return;
    case Limit::Fixed:
        min = def.min;
        max = def.max;
        return;
    case Limit::Element:
        // An element without limits for the number leaves both as they are.
        min = -std::numeric_limits<float>::max();
        max = std::numeric_limits<float>::max();
        element.LitMinMax(def.index, min, max);
        min = std::max(min, def.min);
        max = std::min(max, def.max);
        return;
    }
}

// The generator's levels: the measured quantity's, or the open-loop command's.
UnitView GeneratorLevels(const Settings& settings, CEidElement& bench)
{
    return settings.mode->controller->closedLoop
               ? QuantityUnit(settings.Measure().quantity, bench)
               : UnitView{"", "", 0, settings.bench->openMin, settings.bench->openMax};
}

bool PlaysNothing(const CGeneFonction& generator, int kind)
{
    const bool table = kind == CGeneFonction::Rampe || kind == CGeneFonction::Sinus || kind == CGeneFonction::Trapeze;
    return table && generator.NbPoints == 0;
}

// The PID's actions in its profile section: the console's own entry, which the library leaves alone.
constexpr const char* kActionsEntry = "ACTIONS";

constexpr const char* kNoSignal =
    "Le signal demand\xE9 ne donne aucun point : la rampe et le trap\xE8ze vont du repos \xE0 un \xE9" "chelon plus haut, avec une pente et une acc\xE9l\xE9ration positives ; le sinus a une fr\xE9quence positive.";

bool AppliesTo(const ParameterDef& def, const ControllerKind& controller, CEidElement& element)
{
    float current = 0;
    return !(def.closedLoopOnly && !controller.closedLoop) && element.LitFParam(def.index, current);
}

class Configurator {
public:
    Configurator(const Settings& settings, Elements& elements, tarvic::Profile& profile)
        : m_settings(settings), m_elements(elements), m_profile(profile)
    {
    }

    std::string Run();

private:
    std::string ApplyValues(std::initializer_list<Role> roles);
    std::string Apply(const ParameterDef& def, float value);
    void FirstRunValues();
    std::string BlockCount();
    std::string Wiring();
    std::string Actions();
    std::string Signal();

    const Settings& m_settings;
    Elements& m_elements;
    tarvic::Profile& m_profile;
    UnitView m_levels;  // of the generator: the measured quantity's, or the open-loop command's
};

std::string Configurator::Run()
{
    const Bench& bench = *m_settings.bench;
    const Mode& mode = *m_settings.mode;
    m_profile.WriteProfileInt("TYPE", "PO", bench.letter);
    m_profile.WriteProfileInt("TYPE", "REGULATEUR", mode.number);
    m_elements.bench = bench.make();
    // Every bench writes its sampling period with its factory settings; the
    // element made before them is made again, to read them.
    if (m_settings.factory || m_profile.GetProfileString("FERZ", "TE", "").empty()) {
        m_elements.bench->InitValeur();
        WriteConsoleDefaults(bench, m_profile);
        m_elements.bench = bench.make();
        if (m_settings.factory) FirstRunValues();
    }
    m_levels = GeneratorLevels(m_settings, *m_elements.bench);
    // The controller first: the others read its sampling period when they are made.
    m_elements.controller = mode.controller->make();
    std::string error = ApplyValues({Role::Controller});
    if (error.empty()) {
        m_elements.generator = std::make_unique<CGeneFonction>(mode.generator);
        GeneratorInBenchUnits(m_settings, m_elements);
        error = BlockCount();
    }
    if (error.empty()) error = ApplyValues({Role::Bench, Role::Generator, Role::Recording});
    if (error.empty()) error = Wiring();
    if (error.empty()) error = Actions();
    if (error.empty()) error = Signal();
    return error;
}

std::string Configurator::ApplyValues(std::initializer_list<Role> roles)
{
    for (const auto& [def, value] : m_settings.values) {
        if (std::find(roles.begin(), roles.end(), def->role) == roles.end()) continue;
        if (std::string error = Apply(*def, value); !error.empty()) return error;
    }
    return {};
}

std::string Configurator::Apply(const ParameterDef& def, float value)
{
    const ControllerKind& controller = *m_settings.mode->controller;
    CEidElement& element = *m_elements.Of(def.role);
    if (!AppliesTo(def, controller, element))
        return tarvic::Format("Le param\xE8tre --%s ne s'applique pas au mode %s (%s).", def.name, controller.name,
                              controller.label);
    float min = 0, max = 0;
    Limits(def, element, m_levels, min, max);
    if (!(value >= min && value <= max))
        return tarvic::Format("--%s %s : hors limites, de %s \xE0 %s.", def.name, NumberText(value).c_str(),
                              NumberText(min).c_str(), NumberText(max).c_str());
    element.SetFParam(def.index, value);
    return {};
}

void Configurator::FirstRunValues()
{
    // The bench's factory settings leave out some modes (the on/off one) and
    // the block count: every mode's elements take again what a first run gives them.
    const Bench& bench = *m_settings.bench;
    for (const Mode& mode : bench.modes) {
        Settings first;
        first.bench = &bench;
        first.mode = &mode;
        Elements fresh;
        {
            const auto empty = std::make_shared<tarvic::MemoryProfile>();
            ProfileScope scope(empty);
            if (!Configurator(first, fresh, *empty).Run().empty()) continue;
        }
        // Back on this run's profile, each element writes its values in its mode's section.
        for (const auto* table : {&CommonParameters(), &bench.parameters})
            for (const ParameterDef& def : *table) {
                CEidElement* element = fresh.Of(def.role);
                float value = 0;
                if (def.role == Role::Bench || !AppliesTo(def, *mode.controller, *element)) continue;
                element->LitFParam(def.index, value);
                element->SetFParam(def.index, value);
            }
        if (mode.controller->hasActions)
            m_profile.WriteProfileString(fresh.controller->LitGrp(), kActionsEntry, kDefaultActions);
        int kind = 0;
        fresh.generator->LitCParam(0, kind);
        m_profile.WriteProfileInt(fresh.generator->LitGrp(), "TYPE", kind);
        m_profile.WriteProfileInt("ENREGISTREMENT", "NB_BLOC", fresh.recording->LitParam(2));
    }
}

std::string Configurator::BlockCount()
{
    // The recording reads its block count when it is made: a first one gives
    // the duration of a block with the waiting time asked for.
    m_elements.recording = std::make_unique<CEnregistrement>();
    if (m_settings.duration) {
        if (std::string error = ApplyValues({Role::Recording}); !error.empty()) return error;
        const double blockSeconds = m_elements.recording->LitTempsAttente() / 1000.0;
        const double blocks = std::ceil(*m_settings.duration / blockSeconds - 1e-9);
        if (!(blocks >= 1 && blocks <= kMaxBlocks))
            return tarvic::Format("--duree %s : de %s \xE0 %s s (1 \xE0 %d blocs de %s s).",
                                  NumberText(*m_settings.duration).c_str(), NumberText(blockSeconds).c_str(),
                                  NumberText(blockSeconds * kMaxBlocks).c_str(), kMaxBlocks,
                                  NumberText(blockSeconds).c_str());
        m_profile.WriteProfileInt("ENREGISTREMENT", "NB_BLOC", static_cast<int>(blocks));
        m_elements.recording = std::make_unique<CEnregistrement>();
    }
    const int blocks = m_elements.recording->LitParam(2);
    if (blocks < 1 || blocks > kMaxBlocks)
        return tarvic::Format("Le profil demande %d blocs d'enregistrement (de 1 \xE0 %d) : donnez --duree.", blocks,
                              kMaxBlocks);
    return {};
}

std::string Configurator::Wiring()
{
    const ControllerKind& controller = *m_settings.mode->controller;
    // SetCParam 6 and 7 with 0: the command isolated, no feedback.
    m_elements.controller->SetCParam(6, m_settings.routed ? m_settings.Command().param : 0);
    if (controller.closedLoop)
        m_elements.controller->SetCParam(7, m_settings.feedback ? m_settings.Measure().param : 0);
    return {};
}

std::string Configurator::Actions()
{
    const ControllerKind& controller = *m_settings.mode->controller;
    if (!controller.hasActions) {
        if (m_settings.actions)
            return tarvic::Format("--actions ne s'applique qu'au mode pid, pas au mode %s.", controller.name);
        return {};
    }
    // The actions given stay in the profile beside the controller's coefficients,
    // as its parameters do: a loop tuned as a PID runs again as one.
    const std::string group = m_elements.controller->LitGrp();
    const std::string letters =
        m_settings.actions.value_or(m_profile.GetProfileString(group, kActionsEntry, kDefaultActions));
    // SetCParam 2 to 5: proportional, integral, derivative, derivative on the measurement.
    static constexpr char kLetters[] = "PIDM";
    bool valid = !letters.empty() && letters.size() <= 4;
    for (std::size_t i = 0; valid && i < letters.size(); ++i)
        valid = std::string_view(kLetters, 4).find(letters[i]) != std::string_view::npos &&
                letters.find(letters[i], i + 1) == std::string::npos;
    const auto has = [&](char letter) { return letters.find(letter) != std::string::npos; };
    if (!valid || !(has('P') || has('I') || has('D')) || (has('M') && !has('D')))
        return tarvic::Format(
            "%s %s : lettres P, I et D, chacune une fois, et M (d\xE9riv\xE9" "e sur la mesure) avec D.",
            m_settings.actions ? "--actions" : "Les actions du profil", letters.c_str());
    for (int i = 0; i < 4; ++i) m_elements.controller->SetCParam(2 + i, has(kLetters[i]) ? 1 : 0);
    if (m_settings.actions) m_profile.WriteProfileString(group, kActionsEntry, letters);
    return {};
}

std::string Configurator::Signal()
{
    CGeneFonction& generator = *m_elements.generator;
    int kind = 0;
    generator.LitCParam(0, kind);
    if (m_settings.signal) {
        kind = *m_settings.signal;
        m_profile.WriteProfileInt(generator.LitGrp(), "TYPE", kind);
    }
    WholeCardLevels(generator);
    // Tables are computed when the kind is chosen, never at construction.
    generator.SetCParam(0, static_cast<char>(kind));
    return PlaysNothing(generator, kind) ? kNoSignal : std::string();
}

}  // namespace

void GeneratorInBenchUnits(const Settings& settings, Elements& elements)
{
    // On the card-unit benches the closed loop's levels are the bench's counts:
    // the generator shows and takes them in the bench's units.
    const UnitView levels = GeneratorLevels(settings, *elements.bench);
    if (levels.factor == 0) return;
    float factor = 1;
    elements.bench->LitFParam(levels.factor, factor);
    CGeneFonction& generator = *elements.generator;
    generator.GainValeur = generator.GainRampe = generator.GainAcceleration = factor;
    generator.UniteValeur = levels.unit;
    generator.UniteVitesse = levels.unit + "/s";
    generator.UniteAcceleration = levels.unit + "/s\xB2";
}

bool Applies(const ParameterDef& def, const Settings& settings, const Elements& elements)
{
    CEidElement* element = elements.Of(def.role);
    return element && AppliesTo(def, *settings.mode->controller, *element);
}

std::string SignalError(const Elements& elements, int kind,
                        const std::vector<std::pair<const ParameterDef*, float>>& values)
{
    // The copy writes its parameters where nobody reads them.
    ProfileScope scratch(std::make_shared<tarvic::MemoryProfile>());
    CGeneFonction generator(elements.generator.get());
    for (const auto& [def, value] : values)
        if (def->role == Role::Generator) generator.SetFParam(def->index, value);
    generator.SetCParam(0, static_cast<char>(kind));
    return PlaysNothing(generator, kind) ? kNoSignal : std::string();
}

void ParameterRange(const ParameterDef& def, const Settings& settings, const Elements& elements, float& min, float& max)
{
    Limits(def, *elements.Of(def.role), GeneratorLevels(settings, *elements.bench), min, max);
}

SetupResult Configure(const Settings& settings, const std::shared_ptr<tarvic::Profile>& store, Elements& elements)
{
    const auto staged = std::make_shared<StagedProfile>(store);
    SetupResult result;
    {
        ProfileScope scope(staged);
        result.error = Configurator(settings, elements, *staged).Run();
    }
    if (!result.error.empty()) {
        elements = Elements{};
        return result;
    }
    result.saved = staged->Commit();
    if (!result.saved) result.saveError = errno;
    tarvic::SetProfile(store);
    return result;
}

}  // namespace banc
