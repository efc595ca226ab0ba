#include "cli/CommandLine.h"

#include <getopt.h>

#include <QString>

#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "cli/HistoryOptions.h"
#include "cli/Resolve.h"
#include "engine/analysis/Tuning.h"
#include "engine/model/Benches.h"
#include "engine/model/NumberText.h"
#include "engine/model/Parameter.h"
#include "engine/outputs/CsvExport.h"

namespace banc::cli {
namespace {

// clang-format off: the codes and the options are laid out in rows.
enum Code {
    kBench = 256, kMode, kCommand, kMeasure, kActions, kSignal, kDuration, kPort, kSpeed, kNoise, kSeed, kReply,
    kCsv, kCsvFormat, kPng, kArchive, kOpen, kProfile, kFactory, kHelp, kVersion,
    kIdentify, kSettling, kRelay, kRule, kController, kLambda, kTauC, kPredict, kJson,
    kHistory, kStudent, kList, kSince, kShowRun, kCompare, kComment, kRemove,
    kBode, kFmin, kFmax, kPoints,
    kParameter = 1000,  // then the parameter's position among ParameterNames()
    kReport = 900,      // the kept runs' report
    kMqtt = 800,        // then the option's position among net::kMqttOptionNames
};
// clang-format on

constexpr double kMaxSpeed = 10000;
constexpr double kMaxSeed = 4294967295.0;
constexpr double kShortestReplyMs = 10, kLongestReplyMs = 60000;
constexpr double kMaxSeconds = 100000;  // a time constant of a day is no bench's

struct Named {
    const char* name;
    bool takesValue;
    int code;
};

// clang-format off
constexpr Named kNamed[] = {
    {"banc", true, kBench},        {"mode", true, kMode},          {"commande", true, kCommand},
    {"mesure", true, kMeasure},    {"actions", true, kActions},    {"signal", true, kSignal},
    {"duree", true, kDuration},    {"port", true, kPort},          {"vitesse", true, kSpeed},
    {"bruit", true, kNoise},       {"graine", true, kSeed},        {"delai-reponse", true, kReply},
    {"csv", true, kCsv},           {"png", true, kPng},            {"archive", true, kArchive},
    {"csv-format", true, kCsvFormat},
    {"ouvrir", true, kOpen},       {"profil", true, kProfile},     {"usine", false, kFactory},
    {"help", false, kHelp},        {"aide", false, kHelp},         {"version", false, kVersion},
    {"identifier", false, kIdentify}, {"stabilisation", true, kSettling}, {"relais", false, kRelay},
    {"regle", true, kRule},        {"correcteur", true, kController}, {"lambda", true, kLambda},
    {"tau-c", true, kTauC},        {"predire", false, kPredict},   {"json", true, kJson},
    {"historique", true, kHistory}, {"etudiant", true, kStudent},  {"liste", false, kList},
    {"depuis", true, kSince},      {"essai", true, kShowRun},      {"comparer", true, kCompare},
    {"commentaire", true, kComment}, {"supprimer", true, kRemove},
    {"bode", false, kBode},        {"fmin", true, kFmin},          {"fmax", true, kFmax},
    {"points", true, kPoints},
    {"rapport", true, kReport},
};
// clang-format on

constexpr double kLongestSettling = 3600;  // s: a bench not steady after an hour never will be
constexpr double kHighestHz = 1000;        // above every card's sampling
constexpr int kMostPoints = 100;           // frequencies in one sweep

// The names --regle takes, in the order of the rules.
std::string RuleNames()
{
    std::string names;
    for (const analysis::Rule rule :
         {analysis::Rule::ZieglerNichols, analysis::Rule::CohenCoon, analysis::Rule::Chr0, analysis::Rule::Chr20,
          analysis::Rule::Broida, analysis::Rule::Imc, analysis::Rule::Simc, analysis::Rule::RelayZieglerNichols,
          analysis::Rule::TyreusLuyben})
        names += (names.empty() ? "" : ", ") + std::string(analysis::RuleKey(rule));
    return names;
}

std::string BadValue(const char* option, const char* value)
{
    return tarvic::Format("Valeur invalide pour --%s : \xAB %s \xBB.", option, value);
}

// A number outside the option's limits, the limits written as the user would.
std::string OutOfRange(const char* option, const char* value, double min, double max, const char* unit = "")
{
    return tarvic::Format("--%s %s : hors limites, de %s \xE0 %s%s.", option, value, NumberText(min).c_str(),
                          NumberText(max).c_str(), unit);
}

// An empty name would quietly stand for none: the simulated card, the bench's profile.
std::string EmptyName(int code, const char* name)
{
    switch (code) {
    case kPort: return tarvic::Format("--%s : le nom du port est vide.", name);
    case kCsv:
    case kPng:
    case kArchive:
    case kOpen:
    case kProfile:
    case kJson:
    case kReport:
    case kHistory: return tarvic::Format("--%s : le nom du fichier est vide.", name);
    case kStudent: return tarvic::Format("--%s : le nom est vide.", name);
    default: return {};
    }
}

// The history's orders: one a command line, and --help whatever else is asked.
std::string TakeOrder(Request::Action order, const char* name, Request& request)
{
    switch (request.action) {
    case Request::Action::Run: request.action = order; return {};
    case Request::Action::Help:
    case Request::Action::Version: return {};
    default:
        return request.action == order
                   ? tarvic::Format("--%s est donn\xE9 deux fois.", name)
                   : tarvic::Format("--%s ne se combine ni avec --ouvrir ni avec un autre ordre de l'historique.",
                                    name);
    }
}

std::string TakeNamed(int code, const char* name, const char* value, Request& request)
{
    if (value && *value == '\0') {
        if (std::string error = EmptyName(code, name); !error.empty()) return error;
    }
    double number = 0;
    const bool isNumber = value && ParseNumber(value, number);
    switch (code) {
    case kBench: request.bench = value; break;
    case kMode: request.mode = value; break;
    case kCommand: request.command = value; break;
    case kMeasure: request.measure = value; break;
    case kActions: request.actions = value; break;
    case kSignal: request.signal = value; break;
    case kPort: request.port = value; break;
    case kCsv: request.csv = value; return {};
    case kCsvFormat:
        if (const CsvFormatChoice* format = FindCsvFormat(value)) {
            request.csvFormat = format->format;
            return {};
        }
        return tarvic::Format("Format CSV inconnu : %s (%s).", value, NameList(CsvFormats()).c_str());
    case kPng: request.png = value; return {};
    case kReport: request.report = value; return {};
    case kArchive: request.archive = value; return {};
    case kOpen:
        if (IsHistoryOrder(request.action)) return "--ouvrir ne se combine pas avec un ordre de l'historique.";
        request.open = value;
        request.action = Request::Action::Open;
        return {};
    case kProfile: request.profile = value; break;
    case kFactory: request.factory = true; break;
    case kHelp: request.action = Request::Action::Help; return {};
    case kVersion: request.action = Request::Action::Version; return {};
    case kDuration:
        if (!isNumber) return BadValue(name, value);
        if (number <= 0) return tarvic::Format("--%s %s : hors limites, plus de 0 s.", name, value);
        request.duration = number;
        break;
    case kSpeed:
        if (!isNumber) return BadValue(name, value);
        if (number <= 0 || number > kMaxSpeed)
            return tarvic::Format("--%s %s : hors limites, plus de 0 et jusqu'\xE0 %s.", name, value,
                                  NumberText(kMaxSpeed).c_str());
        request.speed = number;
        break;
    case kNoise:
        if (!isNumber) return BadValue(name, value);
        if (number < 0 || number > 100) return OutOfRange(name, value, 0, 100, " %");
        request.noise = number;
        break;
    case kSeed:
        if (!isNumber) return BadValue(name, value);
        if (number < 0 || number > kMaxSeed || number != std::floor(number))
            return tarvic::Format("--%s %s : un nombre entier de 0 \xE0 %s.", name, value,
                                  NumberText(kMaxSeed).c_str());
        request.seed = static_cast<unsigned>(number);
        break;
    case kIdentify: request.identify = true; break;
    case kRelay: request.relay = true; break;
    case kPredict: request.predict = true; break;
    case kJson: request.json = value; return {};
    case kRule:
        if (!analysis::FindRule(value))
            return tarvic::Format("R\xE8gle inconnue : %s (%s).", value, RuleNames().c_str());
        request.rule = value;
        break;
    case kController:
        if (!analysis::FindControllerType(value)) return tarvic::Format("Correcteur inconnu : %s (P, PI, PID).", value);
        request.controller = value;
        break;
    case kSettling:
    case kLambda:
    case kTauC: {
        if (!isNumber) return BadValue(name, value);
        const double longest = code == kSettling ? kLongestSettling : kMaxSeconds;
        if (number <= 0 || number > longest)
            return tarvic::Format("--%s %s : hors limites, plus de 0 et jusqu'\xE0 %s s.", name, value,
                                  NumberText(longest).c_str());
        (code == kSettling ? request.settling : code == kLambda ? request.lambda : request.tauC) = number;
        break;
    }
    case kHistory: request.history = value; return {};
    case kStudent: request.student = QString::fromLocal8Bit(value).toLatin1().toStdString(); break;
    case kSince:
        if (!ValidSince(value))
            return tarvic::Format("--%s %s : une date AAAA-MM-JJ, suivie si besoin de l'heure HH:MM.", name, value);
        request.since = value;
        return {};
    case kList: return TakeOrder(Request::Action::List, name, request);
    case kShowRun:
    case kRemove:
    case kComment:
    case kCompare: {
        const Request::Action order = code == kShowRun   ? Request::Action::ShowRun
                                      : code == kRemove  ? Request::Action::Remove
                                      : code == kComment ? Request::Action::Comment
                                                         : Request::Action::Compare;
        if (std::string error = TakeOrder(order, name, request); !error.empty()) return error;
        return code == kCompare ? RunNumbers(name, value, request.runs) : RunNumber(name, value, request.runs);
    }
    case kBode: request.bode = true; break;
    case kFmin:
    case kFmax:
        if (!isNumber) return BadValue(name, value);
        if (number <= 0 || number > kHighestHz)
            return tarvic::Format("--%s %s : hors limites, plus de 0 et jusqu'\xE0 %s Hz.", name, value,
                                  NumberText(kHighestHz).c_str());
        (code == kFmin ? request.fmin : request.fmax) = number;
        break;
    case kPoints:
        if (!isNumber) return BadValue(name, value);
        if (number < 1 || number > kMostPoints || number != std::floor(number))
            return tarvic::Format("--%s %s : un nombre entier de 1 \xE0 %d.", name, value, kMostPoints);
        request.points = static_cast<int>(number);
        break;
    case kReply:
        if (!isNumber) return BadValue(name, value);
        if (number < kShortestReplyMs || number > kLongestReplyMs)
            return OutOfRange(name, value, kShortestReplyMs, kLongestReplyMs, " ms");
        request.replyMs = static_cast<int>(number);
        break;
    default: break;
    }
    request.runOptions = true;
    request.runOptionNames.push_back(std::string("--") + name);
    return {};
}

}  // namespace

std::vector<std::string> ParameterNames()
{
    std::vector<std::string> names;
    const auto add = [&](const ParameterDef& def) {
        if (std::find(names.begin(), names.end(), def.name) == names.end()) names.emplace_back(def.name);
    };
    for (const auto& def : CommonParameters()) add(def);
    for (const auto& bench : Benches())
        for (const auto& def : bench.parameters) add(def);
    return names;
}

std::string ParseCommandLine(int argc, char** argv, Request& request)
{
    const std::vector<std::string> parameters = ParameterNames();
    std::vector<option> options;
    for (const auto& named : kNamed)
        options.push_back({named.name, named.takesValue ? required_argument : no_argument, nullptr, named.code});
    for (std::size_t i = 0; i < parameters.size(); ++i)
        options.push_back({parameters[i].c_str(), required_argument, nullptr, kParameter + static_cast<int>(i)});
    for (std::size_t i = 0; i < net::kMqttOptionNames.size(); ++i)
        options.push_back({net::kMqttOptionNames[i], required_argument, nullptr, kMqtt + static_cast<int>(i)});
    options.push_back({nullptr, 0, nullptr, 0});

    optind = 0;  // a fresh scan, even of a second command line
    opterr = 0;  // the messages are ours
    int code = 0;
    while ((code = getopt_long(argc, argv, ":h", options.data(), nullptr)) != -1) {
        const char* given = argv[optind - 1];
        if (code == '?') return tarvic::Format("Option inconnue : %s (voir tarvic-banc --help).", given);
        if (code == ':') return tarvic::Format("L'option %s demande une valeur.", given);
        if (code == 'h') code = kHelp;
        if (code >= kParameter) {
            const std::string& name = parameters[static_cast<std::size_t>(code - kParameter)];
            double number = 0;
            if (!ParseNumber(optarg, number)) return BadValue(name.c_str(), optarg);
            request.values.emplace_back(name, static_cast<float>(number));
            request.runOptions = true;
            request.runOptionNames.push_back("--" + name);
            continue;
        }
        if (code >= kMqtt && code < kMqtt + static_cast<int>(net::kMqttOptionNames.size())) {
            const char* name = net::kMqttOptionNames[static_cast<std::size_t>(code - kMqtt)];
            if (std::string error = net::TakeMqttOption(name, optarg, request.mqtt); !error.empty()) return error;
            request.runOptions = true;
            request.runOptionNames.push_back(std::string("--") + name);
            continue;
        }
        const auto named =
            std::find_if(std::begin(kNamed), std::end(kNamed), [&](const Named& n) { return n.code == code; });
        if (std::string error = TakeNamed(code, named->name, optarg, request); !error.empty()) return error;
        // The comment is the word after the run's number; an option there means the text was forgotten.
        if (code == kComment) {
            if (optind >= argc || std::string_view(argv[optind]).starts_with("--"))
                return "--commentaire demande le num\xE9ro de l'essai puis le texte.";
            request.comment = QString::fromLocal8Bit(argv[optind++]).toLatin1().toStdString();
        }
    }
    if (optind < argc) return tarvic::Format("Argument inattendu : %s (voir tarvic-banc --help).", argv[optind]);
    return {};
}

}  // namespace banc::cli
