#include "engine/run/RelayRun.h"

#include <tarvic/control/Tor.h>

#include <algorithm>
#include <cmath>

#include "engine/lab/RecordedResponse.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"

namespace banc {
namespace {

constexpr double kNoiseDeviations = 3;
constexpr float kSmallestThreshold = 1, kLargestThreshold = 100;
// The on/off element's thresholds, negative and positive (its parameters and commands).
constexpr int kNegativeThreshold = 15, kPositiveThreshold = 16;
constexpr char kIsolated = 'I';
// Between the relay's bottom and top, % of the full command.
constexpr double kMiddle = 50;

CTor& OnOff(Elements& elements) { return static_cast<CTor&>(*elements.controller); }

}  // namespace

std::string RelayRun::Refusal(const Settings& settings)
{
    const auto hasOnOff = [](const Bench& bench) {
        return std::any_of(bench.modes.begin(), bench.modes.end(),
                           [](const Mode& mode) { return mode.controller == &kOnOff; });
    };
    if (!hasOnOff(*settings.bench)) {
        std::string benches;
        for (const Bench& bench : Benches())
            if (hasOnOff(bench)) benches += (benches.empty() ? "" : ", ") + std::string(bench.name);
        return "Le test du relais se fait avec le correcteur tout ou rien (mode tor), que seuls ont les bancs " +
               benches + " : pas le banc " + settings.bench->name + ".";
    }
    if (settings.mode->controller != &kOnOff)
        return std::string("Le test du relais se fait en mode tor, pas en mode ") + settings.mode->name + ".";
    if (!settings.routed || !settings.feedback)
        return "Le test du relais demande la commande branch\xE9" "e et la mesure en retour.";
    return {};
}

RelayRun::RelayRun(const Settings& settings, Elements& elements, double stabilisation)
    : m_settings(settings), m_elements(elements), m_stabilisation(stabilisation)
{
}

std::vector<std::string> RelayRun::RestConfiguration()
{
    // The configured loop, its command isolated: it drives nothing yet.
    CTor& onOff = OnOff(m_elements);
    const char command = onOff.SourceCommande;
    onOff.SourceCommande = kIsolated;
    std::vector<std::string> lines = ConfigurationLines(m_elements, m_settings);
    onOff.SourceCommande = command;
    return lines;
}

bool RelayRun::RestEnough(const std::vector<float>& measure, double period)
{
    m_rest = JudgeRest(measure, period);
    return RestOver(m_rest, m_stabilisation);
}

RunPlan::RunStart RelayRun::RunLines()
{
    // The element sends whole percent: its thresholds are set to what the card runs.
    m_threshold = std::clamp(static_cast<float>(std::ceil(kNoiseDeviations * m_rest.noise)), kSmallestThreshold,
                             kLargestThreshold);
    CTor& onOff = OnOff(m_elements);
    onOff.RBN = -m_threshold;
    onOff.RBP = m_threshold;
    RunStart start;
    start.running = {onOff.ConfFerz(kNegativeThreshold), onOff.ConfFerz(kPositiveThreshold)};
    // The setpoint's sequence while the command is still isolated; the loop
    // stopped, the command wired and the recording armed: the relay, its
    // setpoint and its recording start together with the loop, the relay at its bottom.
    const std::vector<std::string> generator = GeneratorLines(m_elements);
    start.running.insert(start.running.end(), generator.begin(), generator.end());
    for (const auto& part : {WiringLines(m_elements, m_settings), RecordingLines(m_elements)})
        start.stopped.insert(start.stopped.end(), part.begin(), part.end());
    return start;
}

bool RelayRun::Complete()
{
    const int blocks = BlocksAcquired(*m_elements.recording);
    if (blocks == m_judgedBlocks) return m_ended;
    m_judgedBlocks = blocks;
    // Each rise of the relay's command from its bottom to its top starts a period.
    const std::vector<double> command = RecordedResponse(m_settings, m_elements).command;
    int rises = 0;
    for (std::size_t i = 1; i < command.size(); ++i)
        if (command[i - 1] < kMiddle && command[i] >= kMiddle) ++rises;
    m_ended = rises > kRelayPeriods;
    return m_ended;
}

}  // namespace banc
