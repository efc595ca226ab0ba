#include "report/StoredResults.h"

#include <QString>

#include <nlohmann/json.hpp>

#include <tarvic/platform/Text.h>

#include "engine/outputs/FigureText.h"

namespace banc::report {
namespace {

using Json = nlohmann::json;

constexpr const char* kNone = "-";
constexpr int kGainDigits = 3, kResidualDigits = 2;

// The results are UTF-8; the report's texts are Latin-1.
std::string Text(const Json& json, const char* key)
{
    const auto found = json.find(key);
    if (found == json.end() || !found->is_string()) return {};
    return QString::fromStdString(found->get<std::string>()).toLatin1().toStdString();
}

std::optional<double> Number(const Json& json, const char* key)
{
    const auto found = json.find(key);
    if (found == json.end() || !found->is_number()) return std::nullopt;
    return found->get<double>();
}

std::string Seconds(const Json& json, const char* key, double period)
{
    const auto value = Number(json, key);
    return value ? SecondsText(*value, period) : kNone;
}

std::vector<std::string> ModelRow(const std::string& name, const Json& model, double period)
{
    const auto gain = Number(model, "gain");
    const auto order = Number(model, "ordre");
    return {name, gain ? SignificantText(*gain, kGainDigits) + " " + Text(model, "unite_gain") : kNone,
            Seconds(model, "constante_temps_s", period), Seconds(model, "retard_s", period),
            order ? tarvic::Format("%d", static_cast<int>(*order)) : kNone};
}

TextTable Models(const Json& results, const Json& model, double period)
{
    TextTable table{{"Mod\xE8le", "Gain", "Constante", "Retard", "Ordre", "R\xE9sidu", "Expliqu\xE9"}, {}};
    std::vector<std::string> fit = ModelRow("Moindres carr\xE9s", model, period);
    const auto residual = Number(model, "residu");
    const auto explained = Number(model, "part_expliquee");
    fit.push_back(residual ? SignificantText(*residual, kResidualDigits) + " " + Text(results, "unite_mesure") : kNone);
    fit.push_back(explained ? PercentText(100 * *explained) : kNone);
    table.rows.push_back(fit);
    if (const auto methods = results.find("methodes"); methods != results.end() && methods->is_array())
        for (const Json& method : *methods) {
            std::vector<std::string> row = ModelRow(Text(method, "libelle"), method, period);
            row.insert(row.end(), {kNone, kNone});  // a method reads points; it fits nothing
            table.rows.push_back(row);
        }
    return table;
}

// A predicted figure, or why there is none.
std::string Predicted(const Json& prediction, const char* key, double period, bool seconds, const char* missing)
{
    if (const auto value = Number(prediction, key)) return seconds ? SecondsText(*value, period) : PercentText(*value);
    const std::string verdict = Text(prediction, "verdict");
    return verdict == "oscille" || verdict == "s_amortit" ? "oscille" : missing;
}

std::vector<std::string> SuggestionRow(const Json& suggestion, double period)
{
    const std::string actions = Text(suggestion, "actions");
    const auto setting = [&](const char* key, char action, const char* unit) {
        const auto value = Number(suggestion, key);
        if (!value || (action != 0 && actions.find(action) == std::string::npos)) return std::string(kNone);
        return SettingText(static_cast<float>(*value)) + unit;
    };
    std::vector<std::string> row{Text(suggestion, "regle"), Text(suggestion, "correcteur"), setting("kp", 'P', ""),
                                 setting("ti", 'I', " s"),  setting("td", 'D', " s"),       setting("kf", 'D', ""),
                                 setting("ks", 0, "")};
    const auto prediction = suggestion.find("prediction");
    if (prediction == suggestion.end() || !prediction->is_object()) {
        row.insert(row.end(), {kNone, kNone, kNone});  // no model, no prediction
    } else {
        row.push_back(Predicted(*prediction, "depassement_pct", period, false, "non \xE9tabli"));
        row.push_back(Predicted(*prediction, "temps_montee_s", period, true, "non \xE9tabli"));
        row.push_back(Predicted(*prediction, "temps_etablissement_s", period, true, "non atteint"));
    }
    return row;
}

TextTable SuggestionHeader()
{
    return {{"R\xE8gle", "Type", "Kp", "Ti", "Td", "Kf", "Ks", "D\xE9passement", "Mont\xE9" "e", "\xC9tablissement"},
            {}};
}

}  // namespace

StoredLabWork ReadLabWork(const std::string& resultsJson)
{
    StoredLabWork work;
    const Json results = Json::parse(resultsJson, nullptr, false);
    if (!results.is_object()) return work;
    const double period = Number(results, "periode_s").value_or(0);
    if (const auto model = results.find("modele"); model != results.end() && model->is_object())
        work.models = Models(results, *model, period);
    if (const auto suggestions = results.find("reglages"); suggestions != results.end() && suggestions->is_array()) {
        work.suggestions = SuggestionHeader();
        for (const Json& suggestion : *suggestions)
            if (suggestion.is_object()) work.suggestions->rows.push_back(SuggestionRow(suggestion, period));
    }
    if (const auto applied = results.find("reglage_applique"); applied != results.end() && applied->is_object()) {
        work.applied = SuggestionHeader();
        work.applied->rows.push_back(SuggestionRow(*applied, period));
    }
    const auto ku = Number(results, "ku"), pu = Number(results, "pu_s");
    if (ku && pu)
        work.notes.push_back("Essai du relais : gain critique Ku = " + SignificantText(*ku, kGainDigits) +
                             ", p\xE9riode critique Pu = " + SecondsText(*pu, period) + ".");
    for (const char* refusal : {"refus", "refus_reglages"})
        if (std::string why = Text(results, refusal); !why.empty()) work.notes.push_back(why);
    return work;
}

}  // namespace banc::report
