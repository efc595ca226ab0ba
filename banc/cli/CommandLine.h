#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/outputs/CsvExport.h"
#include "net/MqttOptions.h"

namespace banc::cli {

// The command line as given, before its names are looked up.
struct Request {
    enum class Action { Run, Open, Help, Version, List, ShowRun, Compare, Comment, Remove };
    Action action = Action::Run;
    std::string bench, mode, command, measure, actions, signal;  // empty when not given
    std::vector<std::pair<std::string, float>> values;           // parameter name and value, in order
    std::optional<double> duration;
    std::string port;
    std::optional<double> speed;
    std::optional<double> noise;
    std::optional<unsigned> seed;
    std::optional<int> replyMs;
    std::string csv, png, archive, open, profile;
    std::optional<CsvFormat> csvFormat;
    std::string report;    // --rapport: the PDF report of --essai or --comparer
    bool factory = false;  // the bench's factory settings again
    // The lab work: identify an open-loop step, tune, predict.
    bool identify = false;
    std::optional<double> settling;  // s the rest command is held before the step
    bool relay = false;
    std::string rule, controller;  // a tuning rule's and a controller type's names
    std::optional<double> lambda, tauC;
    bool predict = false;
    std::string json;
    // The frequency response: a sine sweep between two bounds (Hz).
    bool bode = false;
    std::optional<double> fmin, fmax;
    std::optional<int> points;
    bool runOptions = false;  // something that only an experiment on the card takes
    // The run history.
    std::string history;                      // --historique: the base; "" the default one
    std::string student;                      // --etudiant: the user a run is kept under; "" the login
    std::string since;                        // --depuis: "2026-12-01" or "2026-12-01 14:00"
    std::vector<long long> runs;              // the runs an order is about: one, or those --comparer overlays
    std::string comment;                      // --commentaire's text (Latin-1)
    std::vector<std::string> runOptionNames;  // the options only an experiment takes, as given ("--kp")
    net::MqttOptions mqtt;                    // the room's broker (--mqtt, --salle...), "" when not given
};

// Every parameter name of every bench, once: the options that set them.
std::vector<std::string> ParameterNames();

// GNU-style options ("--kp 2", "--kp=2", unique abbreviations); "" or the
// French reason the line is refused (Latin-1).
std::string ParseCommandLine(int argc, char** argv, Request& request);

}  // namespace banc::cli
