#include "engine/outputs/StepText.h"

#include <tarvic/platform/Text.h>

#include <cmath>

namespace banc {
namespace {

bool Swinging(StepVerdict verdict) { return verdict == StepVerdict::Oscillating || verdict == StepVerdict::DyingOut; }

// Why a figure is missing, in a few words after its "not established".
const char* ShortReason(StepVerdict verdict)
{
    return Swinging(verdict) ? "la mesure oscille" : "la mesure n'est pas stabilis\xE9" "e";
}

std::string SettledLines(const StepFigures& figures, const StepUnits& units)
{
    const char* unit = units.measure.c_str();
    const double final = *figures.final;
    std::string text = tarvic::Format(
        "Valeur finale : %.2f %s (moyenne des %d derniers points ; consigne %.2f %s, "
        "d\xE9part %.2f %s)\n",
        final, unit, figures.tailPoints, double{figures.setpoint}, units.setpoint.c_str(), double{figures.initial},
        unit);
    if (!figures.overshoot)
        text += "D\xE9passement : non \xE9tabli, la consigne ne s'\xE9" "carte pas de la mesure de d\xE9part\n";
    else if (figures.reference == OvershootOf::SetpointStep)
        text += tarvic::Format(
            "D\xE9passement : %.1f %% de l'\xE9" "chelon de consigne (maximum %.2f %s, valeur "
            "finale %.2f %s)\n",
            double{*figures.overshoot}, double{figures.peak}, unit, final, unit);
    else
        text += tarvic::Format("D\xE9passement : %.1f %% de la variation (maximum %.2f %s)\n",
                               double{*figures.overshoot}, double{figures.peak}, unit);
    text += "Temps de mont\xE9" "e (10 \xE0 90 %) : " + StepSeconds(*figures.riseTime, figures.samplePeriod) + "\n";
    text += "Temps d'\xE9tablissement \xE0 5 % : " + StepSeconds(*figures.settlingTime, figures.samplePeriod) + "\n";
    return text;
}

std::string UnsettledLines(const StepFigures& figures, const StepUnits& units)
{
    const char* unit = units.measure.c_str();
    const char* why = ShortReason(figures.verdict);
    std::string text = StepVerdictText(figures, units.measure) + "\n";
    text += tarvic::Format(
        "Valeur finale : non \xE9tablie, %s (derni\xE8re mesure %.2f %s ; consigne %.2f %s, "
        "d\xE9part %.2f %s)\n",
        why, double{figures.last}, unit, double{figures.setpoint}, units.setpoint.c_str(), double{figures.initial},
        unit);
    text += tarvic::Format("D\xE9passement : non \xE9tabli, %s\n", why);
    text += tarvic::Format("Temps de mont\xE9" "e (10 \xE0 90 %%) : non \xE9tabli, %s\n", why);
    text += tarvic::Format("Temps d'\xE9tablissement \xE0 5 %% : non atteint, %s\n", why);
    return text;
}

}  // namespace

// Tenths for 0.5 s points, hundredths for 10 ms ones: a fast bench's rise
// time does not read "0.0 s".
std::string StepSeconds(float seconds, float samplePeriod)
{
    int decimals = 1;
    while (decimals < 3 && samplePeriod > 0 && samplePeriod < std::pow(10.0f, -decimals) * 0.99f) ++decimals;
    return tarvic::Format("%.*f s", decimals, double{seconds});
}

std::string StepVerdictText(const StepFigures& figures, const std::string& unit)
{
    const char* u = unit.c_str();
    switch (figures.verdict) {
    case StepVerdict::Settled: return {};
    case StepVerdict::Oscillating: {
        const Oscillation& swing = *figures.oscillation;
        return tarvic::Format(
            "La mesure oscille : amplitude %.2f %s autour de %.2f %s, p\xE9riode %.2f s (%d p\xE9riodes "
            "enregistr\xE9" "es).",
            double{swing.amplitude}, u, double{swing.centre}, u, double{swing.period}, swing.periods);
    }
    case StepVerdict::DyingOut: {
        const Oscillation& swing = *figures.oscillation;
        return tarvic::Format(
            "La mesure oscille encore en s'amortissant : amplitude moyenne %.2f %s, p\xE9riode %.2f s.",
            double{swing.amplitude}, u, double{swing.period});
    }
    case StepVerdict::Rising:
    case StepVerdict::Falling:
        return tarvic::Format("La mesure %s encore \xE0 la fin de l'enregistrement : %+.2f %s en %.1f s.",
                              figures.verdict == StepVerdict::Rising ? "monte" : "descend", double{figures.drift}, u,
                              double{figures.tailSpan});
    case StepVerdict::Unsteady:
        return "La mesure s'\xE9" "carte encore de plus de 5 % de sa moyenne \xE0 la fin de l'enregistrement.";
    case StepVerdict::NoResponse:
        return tarvic::Format("La mesure est rest\xE9" "e \xE0 %.2f %s : pas de r\xE9ponse \xE0 un \xE9" "chelon.",
                              double{figures.last}, u);
    case StepVerdict::NotAStep:
        return "La consigne varie encore apr\xE8s son \xE9" "chelon : pas de figures de r\xE9ponse \xE0 un \xE9" "chelon.";
    case StepVerdict::TooShort: return "Pas assez de points apr\xE8s l'\xE9" "chelon pour une r\xE9ponse.";
    }
    return {};
}

std::string StepSummary(const StepFigures& figures, const StepUnits& units)
{
    switch (figures.verdict) {
    case StepVerdict::Settled: return SettledLines(figures, units);
    case StepVerdict::Oscillating:
    case StepVerdict::DyingOut:
    case StepVerdict::Rising:
    case StepVerdict::Falling:
    case StepVerdict::Unsteady: return UnsettledLines(figures, units);
    default: return StepVerdictText(figures, units.measure) + "\n";
    }
}

}  // namespace banc
