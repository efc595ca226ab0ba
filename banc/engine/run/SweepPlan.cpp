#include "engine/run/FrequencySweep.h"

#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>

#include "engine/analysis/BodeModel.h"
#include "engine/outputs/SweepText.h"

namespace banc {
namespace {

// The card's fields: the table's point period is 16 bits of ms.
constexpr int kLongestPointPeriodMs = 0xFFFF;
// Points recorded in a period, about: enough for five harmonics and for the
// noise to average out, few enough that a slow period fills few blocks.
constexpr int kRecordedPerPeriod = 256;
constexpr double kDefaultAmplitude = 10, kDefaultRest = 50;
constexpr int kMostFrequencies = 100;

// The command's range, %: both ways on the motorised benches.
double LowestCommand(const CEidElement& element) { return element.TestSynum() ? -100 : 0; }

// Why the card cannot play `hz`, or "".
std::string Unplayable(const CGeneFonction& table, double hz)
{
    if (std::floor(table.TE_SINUS) > kLongestPointPeriodMs)
        return tarvic::Format(
            "La carte ne joue pas %s : les points de sa table de sinus seraient espac\xE9s de plus "
            "de %d ms (%s au moins).",
            HertzText(hz).c_str(), kLongestPointPeriodMs, HertzText(1000.0 / (200.0 * kLongestPointPeriodMs)).c_str());
    if (table.NbPoints < kFewestTablePoints)
        return tarvic::Format(
            "La carte ne joue pas %s : \xE0 sa p\xE9riode de %s ms, la table de sinus n'aurait que "
            "%d points (%d au moins, soit %s au plus).",
            HertzText(hz).c_str(), ShortFigure(table.TE).c_str(), table.NbPoints, kFewestTablePoints,
            HertzText(1000.0 / (kFewestTablePoints * table.TE)).c_str());
    return {};
}

// The value given for the parameter `name`, if any.
std::optional<double> Given(const Settings& settings, const char* name)
{
    std::optional<double> value;
    for (const auto& [def, given] : settings.values)
        if (std::string(def->name) == name) value = given;
    return value;
}

}  // namespace

void TakeGivenLevels(const Settings& settings, SweepRequest& request)
{
    request.amplitude = Given(settings, "amplitude");
    request.rest = Given(settings, "repos");
}

SweepFrequency PlanFrequency(const CGeneFonction& generator, double hz, std::string& refusal, double speed)
{
    // The generator's own sine: its point count and period are what the card gets.
    CGeneFonction table(&generator);
    table.FREQUENCE = static_cast<float>(hz);
    table.CalculSinus();
    SweepFrequency frequency;
    frequency.askedHz = hz;
    refusal = Unplayable(table, hz);
    if (!refusal.empty()) return frequency;
    frequency.tablePoints = table.NbPoints;
    frequency.pointPeriodMs = static_cast<int>(table.TE_SINUS);
    const double periodMs = static_cast<double>(frequency.tablePoints) * frequency.pointPeriodMs;
    frequency.playedHz = 1000 / periodMs;
    const int sample = std::max(1, static_cast<int>(table.TE));
    // A block of points every 1 / kFetchedBlocksPerSecond s of the clock at most, ms.
    const double fetched = speed * 1000.0 / (kPointsPerBlock * kFetchedBlocksPerSecond);
    const int samplesPerPoint = std::max(
        {1, static_cast<int>(periodMs / kRecordedPerPeriod / sample), static_cast<int>(std::ceil(fetched / sample))});
    frequency.recordPeriodMs = std::min(sample * samplesPerPoint, kLongestPointPeriodMs / sample * sample);
    frequency.pointsPerPeriod = static_cast<int>(periodMs / frequency.recordPeriodMs);
    if (frequency.pointsPerPeriod < kFewestRecordedPerPeriod)
        refusal = tarvic::Format(
            "\xC0 la vitesse %s, la carte simul\xE9" "e irait trop vite pour enregistrer %s : "
            "%d points par p\xE9riode au plus, %d au moins. R\xE9" "duisez --vitesse.",
            ShortFigure(speed).c_str(), HertzText(hz).c_str(), frequency.pointsPerPeriod, kFewestRecordedPerPeriod);
    return frequency;
}

SweepPlan PlanSweep(const SweepRequest& request, const Settings& settings, const Elements& elements,
                    const std::optional<analysis::ProcessModel>& model)
{
    SweepPlan plan;
    if (settings.mode->controller->closedLoop) {
        plan.refusal = std::string(
                           "La r\xE9ponse fr\xE9quentielle se mesure en boucle ouverte (--mode bo), pas en "
                           "mode ") +
                       settings.mode->name + ".";
        return plan;
    }
    if (request.points < 1 || request.points > kMostFrequencies) {
        plan.refusal = tarvic::Format("Le nombre de fr\xE9quences (--points) va de 1 \xE0 %d, pas %d.",
                                      kMostFrequencies, request.points);
        return plan;
    }
    analysis::FrequencySpan span;
    if (request.lowHz.has_value() != request.highHz.has_value()) {
        plan.refusal =
            "Donnez les deux bornes du balayage (--fmin et --fmax), ou aucune pour les tirer du mod\xE8le "
            "gard\xE9.";
        return plan;
    }
    if (request.lowHz) {
        span = {*request.lowHz, *request.highHz};
        if (!(span.lowHz > 0)) {
            plan.refusal = "La fr\xE9quence la plus basse (--fmin) doit \xEAtre positive.";
            return plan;
        }
        if (!(span.lowHz < span.highHz) && !(request.points == 1 && span.lowHz == span.highHz)) {
            plan.refusal = tarvic::Format(
                "Les bornes sont dans le mauvais ordre : --fmin %s doit \xEAtre en dessous "
                "de --fmax %s.",
                HertzText(span.lowHz).c_str(), HertzText(span.highHz).c_str());
            return plan;
        }
    } else if (!model || !analysis::SpanFor(*model, span)) {
        plan.refusal = model ? "Le mod\xE8le gard\xE9 est un int\xE9grateur, sans constante de temps d'o\xF9 tirer "
                               "les bornes : donnez --fmin et --fmax."
                             : "Aucun mod\xE8le gard\xE9 d'o\xF9 tirer les bornes du balayage : donnez --fmin et "
                               "--fmax, ou identifiez d'abord le proc\xE9" "d\xE9 (--identifier).";
        return plan;
    } else {
        plan.model = model;
    }

    plan.stabilisation = request.stabilisation;
    plan.rest = request.rest.value_or(kDefaultRest);
    plan.amplitude = request.amplitude.value_or(kDefaultAmplitude);
    const double lowest = LowestCommand(*elements.generator);
    if (!(plan.amplitude > 0) || plan.amplitude > 100 - lowest) {
        plan.refusal = tarvic::Format("L'amplitude du sinus (--amplitude) doit \xEAtre positive et d'au plus %s %%.",
                                      ShortFigure(100 - lowest).c_str());
        return plan;
    }
    if (plan.rest < lowest || plan.rest > 100) {
        plan.refusal =
            tarvic::Format("La commande de repos (--repos) va de %s \xE0 100 %%.", ShortFigure(lowest).c_str());
        return plan;
    }
    plan.saturates = plan.rest - plan.amplitude < lowest || plan.rest + plan.amplitude > 100;
    if (plan.saturates)
        plan.warning = tarvic::Format(
            "La commande sature : %s %% autour de %s %% sort de %s \xE0 100 %%. Les points "
            "sont mesur\xE9s, mais marqu\xE9s comme douteux.",
            ShortFigure(plan.amplitude).c_str(), ShortFigure(plan.rest).c_str(), ShortFigure(lowest).c_str());

    for (const double hz : analysis::LogFrequencies(span.lowHz, span.highHz, request.points)) {
        std::string refusal;
        plan.frequencies.push_back(PlanFrequency(*elements.generator, hz, refusal, request.speed));
        if (!refusal.empty()) {
            plan.refusal = refusal;
            plan.frequencies.clear();
            return plan;
        }
    }
    return plan;
}

}  // namespace banc
