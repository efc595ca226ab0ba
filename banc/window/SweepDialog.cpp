#include "window/SweepDialog.h"

#include <cmath>

#include "engine/analysis/BodeModel.h"
#include "engine/lab/StoredModel.h"
#include "window/Latin1.h"
#include "window/Workbench.h"

namespace banc::window {
namespace {

// What the card's generator can be asked for, at most; each frequency is checked against its table after.
constexpr float kLowestHz = 0.00001f, kHighestHz = 50;
constexpr int kDecimalsHz = 5;
constexpr float kFewestPoints = 2, kMostPoints = 50;
constexpr float kSmallestAmplitude = 0.5f, kLargestAmplitude = 50;
// Without a model: two decades around the usual time constants of the benches.
constexpr float kUsualLowHz = 0.001f, kUsualHighHz = 0.1f;

}  // namespace

SweepDialog::SweepDialog(Workbench& workbench, Starter start, QWidget* parent)
    : ParameterDialog(Q("R\xE9ponse fr\xE9quentielle"), parent), m_start(std::move(start))
{
    analysis::FrequencySpan span{kUsualLowHz, kUsualHighHz};
    {
        std::lock_guard lock(workbench.Lock());
        const auto model = LoadModel(*workbench.BenchProfile(), workbench.LiveSettings(), workbench.LiveElements());
        if (model && !analysis::SpanFor(*model, span)) span = {kUsualLowHz, kUsualHighHz};
    }
    const SweepRequest defaults;
    AddField(kLowField, "Fr\xE9quence basse", static_cast<float>(span.lowHz), kLowestHz, kHighestHz, kDecimalsHz, "Hz");
    AddField(kHighField, "Fr\xE9quence haute", static_cast<float>(span.highHz), kLowestHz, kHighestHz, kDecimalsHz,
             "Hz");
    AddField(kPointsField, "Nombre de fr\xE9quences", static_cast<float>(defaults.points), kFewestPoints, kMostPoints,
             0);
    AddField(kAmplitudeField, "Amplitude du sinus, % de la commande", 10, kSmallestAmplitude, kLargestAmplitude, 1,
             "%");
}

std::string SweepDialog::Apply(const Values& values)
{
    const float points = values.at(kPointsField);
    if (points != std::round(points)) return "Nombre de fr\xE9quences : un nombre entier est demand\xE9.";
    SweepRequest request;
    request.lowHz = values.at(kLowField);
    request.highHz = values.at(kHighField);
    request.points = static_cast<int>(points);
    request.amplitude = values.at(kAmplitudeField);
    return m_start(request);
}

}  // namespace banc::window
