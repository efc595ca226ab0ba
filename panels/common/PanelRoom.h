#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "PanelVariant.h"
#include "net/MqttClient.h"
#include "net/MqttSettings.h"
#include "net/Payloads.h"

namespace net {
class PostePublisher;
}

// What a panel shows of its station at one cycle.
struct StationReport {
    std::string card;  // the card's identification, "" while the panel waits for it
    std::vector<std::uint8_t> inputs;
    std::vector<std::uint8_t> outputs;
    std::string text;  // the station's state text, or why the panel waits (Latin-1)

    bool operator==(const StationReport&) const = default;
};

// A panel's place in the room: what it tells the teacher's view (its state,
// and its station's bits when they change) and the two orders it takes from
// it. It outlives the panel's dialog, which is made again on a port change,
// so that the broker sees one connection for the program's whole run.
//
// The station's activity as the room reads it: running ("essai") while an
// output is on, stopped ("arret") from a stop order until an output is
// switched on again, free otherwise.
class CPanelRoom : public QObject {
    Q_OBJECT

public:
    CPanelRoom(const net::MqttSettings& settings, const PanelVariant& variant);
    ~CPanelRoom() override;

    // Each cycle: published when it differs from the last one.
    void Report(const StationReport& report);
    // An order, on the panel's thread; those from the broker come here too.
    void Take(const net::Order& order);

    net::LinkCounters Counters() const;

signals:
    void stopAsked();
    void messageAsked(const QString& text);
    // An order that could not be read, with why (Latin-1).
    void orderRefused(const QString& why);

private:
    void PublishState();

    const PanelVariant& m_variant;
    std::optional<StationReport> m_last;
    bool m_stopped = false;
    net::PosteActivity m_activity = net::PosteActivity::Free;
    // Last: its thread, which hands the orders over, ends before the rest goes.
    std::unique_ptr<net::PostePublisher> m_publisher;
};
