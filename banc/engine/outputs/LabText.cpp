#include "engine/outputs/LabText.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/outputs/FigureText.h"

namespace banc {
namespace {

using analysis::ModelKind;
using analysis::ProcessModel;

constexpr const char* kNone = "-";  // the figure has no meaning for this row
constexpr const char* kNotEstablished = "non \xE9tabli";
constexpr int kGainDigits = 3;  // a fit within a few percent
constexpr int kResidualDigits = 2;
constexpr const char* kColumnGap = "  ";

std::vector<std::string> ModelCells(const std::string& name, const ProcessModel& model, const std::string& gainUnit,
                                    double samplePeriod)
{
    const bool lag = model.kind != ModelKind::Integrating;
    return {name, SignificantText(model.gain, kGainDigits) + " " + gainUnit,
            lag ? SecondsText(model.timeConstant, samplePeriod) : kNone, SecondsText(model.delay, samplePeriod),
            lag ? tarvic::Format("%d", model.order) : kNone};
}

// A predicted figure, or why the prediction gives none.
std::string Figure(const std::optional<float>& value, const StepFigures& figures, bool seconds,
                   const char* missing = kNotEstablished)
{
    if (value) return seconds ? SecondsText(*value, figures.samplePeriod) : PercentText(*value);
    const bool swinging = figures.verdict == StepVerdict::Oscillating || figures.verdict == StepVerdict::DyingOut;
    return swinging ? "oscille" : missing;
}

std::string RightPadded(const std::string& text, std::size_t width)
{
    return text + std::string(width - text.size(), ' ');
}
std::string LeftPadded(const std::string& text, std::size_t width)
{
    return std::string(width - text.size(), ' ') + text;
}

}  // namespace

TextTable ModelTable(const analysis::Identification& identification, const std::string& measureUnit,
                     const std::string& commandUnit, double samplePeriod)
{
    TextTable table{{"Mod\xE8le", "Gain", "Constante", "Retard", "Ordre", "R\xE9sidu", "Expliqu\xE9"}, {}};
    if (!identification.Identified()) return table;
    const analysis::FitResult& fit = *identification.fit;
    std::vector<std::string> row =
        ModelCells("Moindres carr\xE9s", fit.model, GainUnit(fit.model, measureUnit, commandUnit), samplePeriod);
    row.push_back(SignificantText(fit.rms, kResidualDigits) + " " + measureUnit);
    row.push_back(PercentText(100 * fit.explained));
    table.rows.push_back(row);
    for (const analysis::MethodResult& method : identification.methods) {
        row = ModelCells(method.label, method.model, GainUnit(method.model, measureUnit, commandUnit), samplePeriod);
        row.insert(row.end(), {kNone, kNone});  // a method reads points; it fits nothing
        table.rows.push_back(row);
    }
    return table;
}

TextTable SuggestionTable(const std::vector<TunedSuggestion>& suggestions)
{
    TextTable table{
        {"R\xE8gle", "Type", "Kp", "Ti", "Td", "Kf", "Ks", "D\xE9passement", "Mont\xE9" "e", "\xC9tablissement"}, {}};
    for (const TunedSuggestion& tuned : suggestions) {
        const ControllerSettings& settings = tuned.settings;
        const auto has = [&](char action) { return settings.actions.find(action) != std::string::npos; };
        std::vector<std::string> row{analysis::RuleKey(tuned.suggestion.rule),
                                     analysis::ControllerTypeName(tuned.suggestion.pid.type),
                                     has('P') ? SettingText(settings.kp) : kNone,
                                     has('I') ? SettingText(settings.ti) + " s" : kNone,
                                     has('D') ? SettingText(settings.td) + " s" : kNone,
                                     has('D') ? SettingText(settings.kf) : kNone,
                                     SettingText(settings.ks)};
        const analysis::LoopPrediction& prediction = tuned.prediction;
        if (prediction.measure.empty()) {
            row.insert(row.end(), {kNone, kNone, kNone});  // no model, no prediction
        } else {
            const StepFigures& figures = prediction.figures;
            row.push_back(Figure(figures.overshoot, figures, false));
            row.push_back(Figure(figures.riseTime, figures, true));
            row.push_back(Figure(figures.settlingTime, figures, true, "non atteint"));
        }
        table.rows.push_back(row);
    }
    return table;
}

std::string RenderTable(const TextTable& table)
{
    std::vector<std::size_t> widths(table.header.size(), 0);
    const auto measure = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], cells[i].size());
    };
    measure(table.header);
    for (const auto& row : table.rows) measure(row);
    // The names to the left, the figures to the right, as a table of numbers reads.
    const auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
            text += i == 0 ? RightPadded(cells[i], widths[i]) : kColumnGap + LeftPadded(cells[i], widths[i]);
        text.erase(text.find_last_not_of(' ') + 1);
        return text + "\n";
    };
    std::string text = line(table.header);
    std::size_t total = 0;
    for (const std::size_t width : widths) total += width;
    total += std::string(kColumnGap).size() * (widths.empty() ? 0 : widths.size() - 1);
    text += std::string(total, '-') + "\n";
    for (const auto& row : table.rows) text += line(row);
    return text;
}

}  // namespace banc
