#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cardsim {

// A bit of the station's input or output bytes: byte 0 is the first on the
// line, bit 0 the least significant.
struct IoBit {
    int byte;
    int bit;
};

// One actuator of a station: the output bits that drive it, the input bits
// of its end sensors, its travel time. With no backward bit it is single
// acting: a spring brings it back when its output drops.
struct ActuatorRow {
    const char* name;
    std::optional<IoBit> forward;
    std::optional<IoBit> backward;
    std::optional<IoBit> forwardSensor;   // lit at the far end
    std::optional<IoBit> backwardSensor;  // lit at the home end
    double travel;                        // s from one end to the other; 0 follows at once
    bool startsForward;                   // where it stands at power-up
};

// An input the operator sets: a push button, a selector, a part put in place.
struct OperatorInput {
    const char* name;
    IoBit bit;
};

// A station as data: its actuators, the operator's inputs, the bits the
// emergency stop sets, and the steps of its return to origin (each step's
// sensors must all be lit before the next; the station state counts the
// step it waits for, 0 once at origin).
struct MachineTable {
    std::vector<ActuatorRow> actuators;
    std::vector<OperatorInput> operatorInputs;
    std::vector<IoBit> emergency;
    std::vector<std::vector<IoBit>> originSteps;
};

// A station's machine in simulated time: actuators move while their output
// is on, their sensors light at the ends; both directions on stop an
// actuator where it is; the emergency stop freezes every actuator.
class StationMachine {
public:
    StationMachine(const MachineTable& table, int inputBytes, int outputBytes);

    void SetOutputs(const std::vector<int>& outputs) { m_outputs = outputs; }
    const std::vector<int>& Outputs() const { return m_outputs; }
    std::vector<int> Inputs() const;
    // The station state byte: the origin step waited for, 0 at origin.
    int State() const { return m_originStep < m_table.originSteps.size() ? static_cast<int>(m_originStep) + 1 : 0; }

    void Run(double seconds);
    // An operator's order ("appui dcy", "relache dcy", "aru", "rearme"): an
    // error text, or "" when it was done.
    std::string Control(std::string_view order);
    // The error text `Control` would give, without doing it.
    std::string Check(std::string_view order) const;

private:
    // The operator input an "appui"/"relache" order names, or nothing.
    std::optional<std::size_t> InputOf(std::string_view order) const;
    bool Output(const IoBit& bit) const;
    void FollowOrigin();

    const MachineTable& m_table;
    int m_inputBytes;
    std::vector<int> m_outputs;
    std::vector<double> m_positions;  // per actuator: 0 at home, 1 at the far end
    std::vector<bool> m_pressed;      // per operator input
    bool m_emergency = false;
    std::size_t m_originStep = 0;
};

}  // namespace cardsim
