#include "PanelRoom.h"

#include <algorithm>

#include <tarvic/Version.h>

#include "net/Login.h"
#include "net/PostePublisher.h"

namespace {

bool AnyOn(const std::vector<std::uint8_t>& outputs)
{
    return std::any_of(outputs.begin(), outputs.end(), [](std::uint8_t byte) { return byte != 0; });
}

}  // namespace

CPanelRoom::CPanelRoom(const net::MqttSettings& settings, const PanelVariant& variant)
    : m_variant(variant), m_publisher(std::make_unique<net::PostePublisher>(settings, net::PosteKind::Station,
                                                                            variant.name, TARVIC_VERSION_STRING))
{
    // The client's thread hands them over; they run on the panel's.
    m_publisher->OnOrder(
        [this](const net::Order& order) {
            QMetaObject::invokeMethod(this, [this, order] { Take(order); }, Qt::QueuedConnection);
        },
        [this](const std::string& why) {
            QMetaObject::invokeMethod(
                this, [this, why] { emit orderRefused(QString::fromLatin1(why)); }, Qt::QueuedConnection);
        });
}

CPanelRoom::~CPanelRoom() = default;

void CPanelRoom::Report(const StationReport& report)
{
    const bool cardChanged = !m_last || m_last->card != report.card;
    const bool changed = !m_last || *m_last != report;
    m_last = report;
    if (AnyOn(report.outputs)) m_stopped = false;
    const net::PosteActivity activity = AnyOn(report.outputs) ? net::PosteActivity::Running
                                        : m_stopped           ? net::PosteActivity::Stopped
                                                              : net::PosteActivity::Free;
    if (cardChanged || activity != m_activity) {
        m_activity = activity;
        PublishState();
    }
    if (changed) m_publisher->PublishStation({report.inputs, report.outputs, report.text, {}});
}

void CPanelRoom::Take(const net::Order& order)
{
    if (order.kind == net::Order::Kind::Message) {
        emit messageAsked(QString::fromLatin1(order.text));
        return;
    }
    // Told the room at the next cycle, with the outputs the stop leaves.
    m_stopped = true;
    emit stopAsked();
}

net::LinkCounters CPanelRoom::Counters() const { return m_publisher->Counters(); }

void CPanelRoom::PublishState()
{
    // The kind, the program, its version and the time are the publisher's.
    net::PosteState state;
    state.name = m_variant.name;
    state.activity = m_activity;
    state.card = m_last ? m_last->card : std::string();
    state.user = net::LoginName();
    m_publisher->PublishState(std::move(state));
}
