#include "engine/publish/LiveMeasures.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/outputs/Capitalised.h"
#include "engine/outputs/Results.h"

namespace banc::publish {
namespace {

// The float's own shortest digits, not the binary tail a widening adds (18.3f is not 18.299999237060547).
double Widened(float value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text - 1, value).ptr;
    *end = '\0';
    return std::strtod(text, nullptr);
}

void Add(net::Measures& measures, const std::string& name, float value, const std::string& unit)
{
    if (std::isfinite(value)) measures.values.push_back({name, Widened(value), unit});
}

}  // namespace

LiveMeasures::LiveMeasures(const Settings& settings, Elements& elements)
{
    const ExperimentCurves curves = CurvesOf(settings, elements);
    m_setpointUnit = curves.setpointUnit;
    const MeasureChoice& loop = settings.Measure();
    m_measure = {Capitalised(loop.label), curves.measureUnit.unit};
    for (std::size_t i = 0; i < settings.bench->measures.size(); ++i) {
        const MeasureChoice& other = settings.bench->measures[i];
        if (&other == &loop) continue;
        m_others.push_back(i);
        m_otherNames.push_back({Capitalised(other.label), QuantityUnit(other.quantity, *elements.bench).unit});
    }
}

net::Measures LiveMeasures::Of(const LiveValues& values) const
{
    net::Measures measures;
    if (values.hasSetpoint) Add(measures, "Consigne", values.setpoint, m_setpointUnit);
    Add(measures, m_measure.name, values.measure, m_measure.unit);
    Add(measures, "Commande", values.command, kCommandUnit);
    for (std::size_t i = 0; i < m_others.size(); ++i)
        if (m_others[i] < values.measures.size())
            Add(measures, m_otherNames[i].name, values.measures[m_others[i]], m_otherNames[i].unit);
    return measures;
}

}  // namespace banc::publish
