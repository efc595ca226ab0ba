#include "engine/lab/StoredModel.h"

#include <tarvic/platform/Text.h>

#include <charconv>
#include <cmath>

namespace banc {
namespace {

using analysis::ModelKind;
using analysis::ProcessModel;

struct KindName {
    ModelKind kind;
    const char* name;
};
constexpr KindName kKinds[] = {{ModelKind::FirstOrderDelay, "premier_ordre_retard"},
                               {ModelKind::Strejc, "strejc"},
                               {ModelKind::Integrating, "integrateur"}};
// Strejc's table stops at 10 lags.
constexpr int kLargestOrder = 10;

std::string Section(const Settings& settings)
{
    return tarvic::Format("%c_MODELE_%s", settings.bench->letter, settings.Measure().name);
}

std::string Unit(const Settings& settings, const Elements& elements)
{
    return QuantityUnit(settings.Measure().quantity, *elements.bench).unit;
}

// The whole text as a finite number, else none.
std::optional<double> Number(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> Whole(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool Plausible(const ProcessModel& model)
{
    if (model.gain == 0 || model.delay < 0) return false;
    switch (model.kind) {
    case ModelKind::FirstOrderDelay: return model.timeConstant > 0 && model.order == 1;
    case ModelKind::Strejc: return model.timeConstant > 0 && model.order >= 1 && model.order <= kLargestOrder;
    case ModelKind::Integrating: return model.timeConstant == 0 && model.order == 1;
    }
    return false;
}

}  // namespace

bool SaveModel(tarvic::Profile& profile, const Settings& settings, const Elements& elements, const ProcessModel& model)
{
    const std::string section = Section(settings);
    const char* kind = "";
    for (const auto& entry : kKinds)
        if (entry.kind == model.kind) kind = entry.name;
    const auto number = [](double value) { return tarvic::Format("%.17g", value); };
    return profile.WriteProfileString(section, "TYPE", "") &&
           profile.WriteProfileString(section, "GAIN", number(model.gain)) &&
           profile.WriteProfileString(section, "CONSTANTE_TEMPS", number(model.timeConstant)) &&
           profile.WriteProfileString(section, "RETARD", number(model.delay)) &&
           profile.WriteProfileString(section, "ORDRE", tarvic::Format("%d", model.order)) &&
           profile.WriteProfileString(section, "COMMANDE", settings.Command().name) &&
           profile.WriteProfileString(section, "UNITE", Unit(settings, elements)) &&
           profile.WriteProfileString(section, "TYPE", kind);
}

std::optional<ProcessModel> LoadModel(tarvic::Profile& profile, const Settings& settings, const Elements& elements)
{
    const std::string section = Section(settings);
    const auto entry = [&](const char* name) { return profile.GetProfileString(section, name, ""); };
    if (entry("COMMANDE") != settings.Command().name || entry("UNITE") != Unit(settings, elements)) return std::nullopt;
    ProcessModel model;
    const std::string kind = entry("TYPE");
    const KindName* found = nullptr;
    for (const auto& candidate : kKinds)
        if (kind == candidate.name) found = &candidate;
    const auto gain = Number(entry("GAIN")), timeConstant = Number(entry("CONSTANTE_TEMPS")),
               delay = Number(entry("RETARD"));
    const auto order = Whole(entry("ORDRE"));
    if (!found || !gain || !timeConstant || !delay || !order) return std::nullopt;
    model.kind = found->kind;
    model.gain = *gain;
    model.timeConstant = *timeConstant;
    model.delay = *delay;
    model.order = *order;
    if (!Plausible(model)) return std::nullopt;
    return model;
}

}  // namespace banc
