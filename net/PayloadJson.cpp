#include "net/PayloadJson.h"

#include <time.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <utility>

#include "net/Latin1.h"
#include "net/TextCoding.h"

namespace net {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array kKindWords{"banc", "station"};
constexpr std::array kActivityWords{"libre", "essai", "arret", "hors-ligne"};
constexpr std::array kOrderWords{"arreter", "message"};
// As the history writes them (Latin-1).
constexpr std::array kOutcomeWords{"complet", "interrompu", "d\xE9" "faut de carte"};

template <std::size_t N>
std::string WordList(const std::array<const char*, N>& words)
{
    std::string list;
    for (const char* word : words) list += (list.empty() ? "" : ", ") + std::string(word);
    return list;
}

// "dddd-dd-ddTdd:dd:dd.dddZ" with every field in its range.
bool IsUtcTime(const std::string& text)
{
    constexpr std::string_view shape = "0000-00-00T00:00:00.000Z";
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i]) return false;
    }
    const auto field = [&text](std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
    return field(5) >= 1 && field(5) <= 12 && field(8) >= 1 && field(8) <= 31 && field(11) < 24 && field(14) < 60 &&
           field(17) < 61;
}

Json Text(const std::string& latin1) { return ToUtf8(latin1); }

Json Number(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

Json Bytes(const std::vector<std::uint8_t>& bytes)
{
    Json array = Json::array();
    for (const std::uint8_t byte : bytes) array.push_back(byte);
    return array;
}

Json Header()
{
    Json json;
    json["schema"] = kSchemaVersion;
    return json;
}

// The fields of one JSON object, read into the payload's types. The first
// reason a field cannot be read is kept in `error`, shared with the object's
// parts; once it is set, nothing more is read.
class Fields {
public:
    Fields(const Json& object, std::string& error, std::string path = "")
        : m_object(object), m_error(error), m_path(std::move(path))
    {
    }

    void Text(const char* name, std::string& value)
    {
        if (const Json* field = Find(name, "un texte", &IsString))
            value = Utf8ToLatin1(field->get_ref<const std::string&>());
    }
    void Time(const char* name, std::string& value)
    {
        const Json* field = Find(name, "un horodatage", &IsString);
        if (!field) return;
        const auto& text = field->get_ref<const std::string&>();
        if (IsUtcTime(text))
            value = text;
        else
            Fail(name, "un horodatage UTC avec millisecondes (\"2026-12-08T15:04:05.123Z\")");
    }
    void Number(const char* name, double& value)
    {
        if (const Json* field = Find(name, "un nombre", &IsNumber)) value = field->get<double>();
    }
    void Number(const char* name, std::optional<double>& value)
    {
        if (const Json* field = Find(name, "un nombre ou null", &IsNumberOrNull))
            value = field->is_null() ? std::nullopt : std::optional(field->get<double>());
    }
    void Integer(const char* name, long long& value)
    {
        if (const Json* field = Find(name, "un entier", &IsInteger)) value = field->get<long long>();
    }
    template <typename Enum, std::size_t N>
    void Word(const char* name, const std::array<const char*, N>& words, Enum& value)
    {
        const Json* field = Find(name, "un texte", &IsString);
        if (!field) return;
        for (std::size_t i = 0; i < N; ++i)
            if (field->get_ref<const std::string&>() == words[i]) {
                value = static_cast<Enum>(i);
                return;
            }
        Fail(name, "l'un de " + WordList(words));
    }
    void Outcome(const char* name, std::string& value)
    {
        std::string text;
        Text(name, text);
        if (!Ok()) return;
        for (const char* word : kOutcomeWords)
            if (text == word) {
                value = std::move(text);
                return;
            }
        Fail(name, "l'un de " + WordList(kOutcomeWords));
    }
    void Bytes(const char* name, std::vector<std::uint8_t>& value)
    {
        const Json* field = Find(name, "un tableau d'octets", &IsArray);
        if (!field) return;
        std::vector<std::uint8_t> bytes;
        for (const Json& byte : *field) {
            if (!byte.is_number_integer() || byte.get<long long>() < 0 || byte.get<long long>() > 255) {
                Fail(name, "un tableau d'entiers de 0 \xE0 255");
                return;
            }
            bytes.push_back(static_cast<std::uint8_t>(byte.get<int>()));
        }
        value = std::move(bytes);
    }
    const Json* Array(const char* name) { return Find(name, "un tableau", &IsArray); }
    // The object's text as the console writes its results; "" for null.
    void Object(const char* name, std::string& value)
    {
        if (const Json* field = Find(name, "un objet ou null", &IsObjectOrNull))
            value = field->is_null() ? std::string() : field->dump(2) + "\n";
    }
    void Base64(const char* name, std::string& value)
    {
        const Json* field = Find(name, "un texte", &IsString);
        if (field && !Base64Decode(field->get_ref<const std::string&>(), value)) Fail(name, "du base64");
    }
    bool Has(const char* name) const { return m_object.contains(name); }
    // Refuses a field beyond `known`.
    void Only(std::initializer_list<const char*> known)
    {
        for (const auto& [name, field] : m_object.items()) {
            bool listed = false;
            for (const char* each : known) listed = listed || name == each;
            if (!listed && m_error.empty())
                m_error = "champ \"" + Utf8ToLatin1(name) + "\" inconnu : refus\xE9 par prudence";
        }
    }
    void Fail(const char* name, const std::string& expected)
    {
        if (m_error.empty()) m_error = "champ \"" + m_path + name + "\" : " + expected + " attendu";
    }
    bool Ok() const { return m_error.empty(); }

private:
    static bool IsString(const Json& json) { return json.is_string(); }
    static bool IsNumber(const Json& json) { return json.is_number(); }
    static bool IsInteger(const Json& json) { return json.is_number_integer(); }
    static bool IsArray(const Json& json) { return json.is_array(); }
    static bool IsNumberOrNull(const Json& json) { return json.is_number() || json.is_null(); }
    static bool IsObjectOrNull(const Json& json) { return json.is_object() || json.is_null(); }

    const Json* Find(const char* name, const char* expected, bool (*fits)(const Json&))
    {
        if (!m_error.empty()) return nullptr;
        const auto found = m_object.find(name);
        if (found == m_object.end()) {
            m_error = "champ \"" + m_path + name + "\" absent";
            return nullptr;
        }
        if (!fits(*found)) {
            Fail(name, expected);
            return nullptr;
        }
        return &*found;
    }

    const Json& m_object;
    std::string& m_error;
    std::string m_path;
};

// The payload as a JSON object of our schema, or why not.
std::string Parse(const std::string& payload, Json& json)
{
    if (payload.size() > kMaxPayloadBytes)
        return "message de " + std::to_string(payload.size()) + " octets, plus que les " +
               std::to_string(kMaxPayloadBytes) + " admis";
    json = Json::parse(payload, nullptr, false);
    if (json.is_discarded()) return "ce n'est pas du JSON (UTF-8)";
    if (!json.is_object()) return "ce n'est pas un objet JSON";
    std::string error;
    long long schema = 0;
    Fields(json, error).Integer("schema", schema);
    if (error.empty() && schema != kSchemaVersion)
        error = "sch\xE9ma " + std::to_string(schema) + " inconnu (version " + std::to_string(kSchemaVersion) +
                " attendue)";
    return error;
}

}  // namespace

std::string ToJson(const PosteState& state)
{
    Json json = Header();
    json["type"] = kKindWords[static_cast<std::size_t>(state.kind)];
    json["nom"] = Text(state.name);
    json["mode"] = Text(state.mode);
    json["etat"] = kActivityWords[static_cast<std::size_t>(state.activity)];
    json["carte"] = Text(state.card);
    json["programme"] = Text(state.program);
    json["version"] = Text(state.version);
    json["utilisateur"] = Text(state.user);
    json["horodatage"] = state.time;
    return json.dump();
}

std::string ToJson(const Measures& measures)
{
    Json json = Header();
    Json values = Json::array();
    for (const Measure& measure : measures.values) {
        Json value;
        value["nom"] = Text(measure.name);
        value["valeur"] = measure.value;
        value["unite"] = Text(measure.unit);
        values.push_back(std::move(value));
    }
    json["valeurs"] = std::move(values);
    json["horodatage"] = measures.time;
    return json.dump();
}

std::string ToJson(const RunEnd& run)
{
    Json json = Header();
    json["numero"] = run.number;
    json["debut"] = run.startedAt;
    json["horodatage"] = run.time;
    json["utilisateur"] = Text(run.user);
    json["banc"] = Text(run.bench);
    json["mode"] = Text(run.mode);
    json["reglages"] = Text(run.settings);
    json["issue"] = Text(run.outcome);
    json["message"] = Text(run.outcomeText);
    json["valeur_finale"] = Number(run.finalValue);
    json["depassement_pct"] = Number(run.overshootPct);
    json["unite_mesure"] = Text(run.measureUnit);
    Json results = run.resultsJson.empty() ? Json(nullptr) : Json::parse(run.resultsJson, nullptr, false);
    json["resultats"] = results.is_object() ? std::move(results) : Json(nullptr);
    json["archive"] = Base64Encode(run.archive);
    return json.dump();
}

std::string ToJson(const StationBits& bits)
{
    Json json = Header();
    json["entrees"] = Bytes(bits.inputs);
    json["sorties"] = Bytes(bits.outputs);
    json["texte"] = Text(bits.stateText);
    json["horodatage"] = bits.time;
    return json.dump();
}

std::string ToJson(const Order& order)
{
    Json json = Header();
    json["ordre"] = kOrderWords[static_cast<std::size_t>(order.kind)];
    if (order.kind == Order::Kind::Message) json["texte"] = Text(order.text);
    if (!order.time.empty()) json["horodatage"] = order.time;
    return json.dump();
}

std::string FromJson(const std::string& payload, PosteState& state)
{
    Json json;
    if (std::string error = Parse(payload, json); !error.empty()) return error;
    std::string error;
    Fields fields(json, error);
    PosteState read;
    fields.Word("type", kKindWords, read.kind);
    fields.Text("nom", read.name);
    fields.Text("mode", read.mode);
    fields.Word("etat", kActivityWords, read.activity);
    fields.Text("carte", read.card);
    fields.Text("programme", read.program);
    fields.Text("version", read.version);
    fields.Text("utilisateur", read.user);
    fields.Time("horodatage", read.time);
    if (fields.Ok()) state = std::move(read);
    return error;
}

std::string FromJson(const std::string& payload, Measures& measures)
{
    Json json;
    if (std::string error = Parse(payload, json); !error.empty()) return error;
    std::string error;
    Fields fields(json, error);
    Measures read;
    if (const Json* values = fields.Array("valeurs")) {
        for (std::size_t i = 0; i < values->size() && error.empty(); ++i) {
            const Json& value = (*values)[i];
            const std::string path = "valeurs[" + std::to_string(i) + "]";
            if (!value.is_object()) {
                error = "champ \"" + path + "\" : un objet attendu";
                break;
            }
            Fields entry(value, error, path + ".");
            Measure measure;
            entry.Text("nom", measure.name);
            entry.Number("valeur", measure.value);
            entry.Text("unite", measure.unit);
            read.values.push_back(std::move(measure));
        }
    }
    fields.Time("horodatage", read.time);
    if (fields.Ok()) measures = std::move(read);
    return error;
}

std::string FromJson(const std::string& payload, RunEnd& run)
{
    Json json;
    if (std::string error = Parse(payload, json); !error.empty()) return error;
    std::string error;
    Fields fields(json, error);
    RunEnd read;
    fields.Integer("numero", read.number);
    fields.Time("debut", read.startedAt);
    fields.Time("horodatage", read.time);
    fields.Text("utilisateur", read.user);
    fields.Text("banc", read.bench);
    fields.Text("mode", read.mode);
    fields.Text("reglages", read.settings);
    fields.Outcome("issue", read.outcome);
    fields.Text("message", read.outcomeText);
    fields.Number("valeur_finale", read.finalValue);
    fields.Number("depassement_pct", read.overshootPct);
    fields.Text("unite_mesure", read.measureUnit);
    fields.Object("resultats", read.resultsJson);
    fields.Base64("archive", read.archive);
    if (fields.Ok()) run = std::move(read);
    return error;
}

std::string FromJson(const std::string& payload, StationBits& bits)
{
    Json json;
    if (std::string error = Parse(payload, json); !error.empty()) return error;
    std::string error;
    Fields fields(json, error);
    StationBits read;
    fields.Bytes("entrees", read.inputs);
    fields.Bytes("sorties", read.outputs);
    fields.Text("texte", read.stateText);
    fields.Time("horodatage", read.time);
    if (fields.Ok()) bits = std::move(read);
    return error;
}

std::string FromJson(const std::string& payload, Order& order)
{
    Json json;
    if (std::string error = Parse(payload, json); !error.empty()) return error;
    std::string error;
    Fields fields(json, error);
    Order read;
    fields.Word("ordre", kOrderWords, read.kind);
    const bool message = read.kind == Order::Kind::Message;
    if (message) {
        fields.Only({"schema", "ordre", "texte", "horodatage"});
        fields.Text("texte", read.text);
        if (fields.Ok() && read.text.empty()) fields.Fail("texte", "un texte non vide");
        if (fields.Ok() && read.text.size() > kMaxMessageChars)
            fields.Fail("texte", "un texte d'au plus " + std::to_string(kMaxMessageChars) + " caract\xE8res");
    } else {
        fields.Only({"schema", "ordre", "horodatage"});
    }
    if (fields.Has("horodatage")) fields.Time("horodatage", read.time);
    if (fields.Ok()) order = std::move(read);
    return error;
}

std::string UtcNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(millis));
    return text;
}

}  // namespace net
