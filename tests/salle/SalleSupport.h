#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "net/Payloads.h"
#include "net/Topics.h"
#include "salle/RoomPrompts.h"

class QApplication;

namespace banc::test {
struct WaterLevelRun;
}

namespace salle::test {

// The application the widgets need, made once for the test program.
QApplication& Application();

// The teacher's answers, given in advance (no when none is left); the questions kept.
class ScriptedRoomPrompts : public RoomPrompts {
public:
    bool Confirm(QWidget*, const std::string& title, const std::string& question) override;
    bool AskMessage(QWidget*, const std::string& to, std::string& text) override;

    std::deque<bool> answers;
    std::deque<std::string> messages;  // typed; none left: the teacher gives up
    std::vector<std::string> asked;    // "title|question", "Message|to"
};

// An order handed to the broker, as the window sent it.
struct SentOrder {
    net::Poste poste;
    net::Order order;
};

net::PosteState BenchState(net::PosteActivity activity, const std::string& name = "niveaueau");
net::PosteState StationState(const std::string& program = "Varnok");
// "Consigne" 20 cm, "Niveau" `level` cm, "Commande" 42.5 %.
net::Measures LevelMeasures(double level);
// A complete water level run of Élodie's at pc07, as the bench publishes its end, with its curves.
net::RunEnd PublishedRun(const banc::test::WaterLevelRun& recorded);

}  // namespace salle::test
