#include "salle/RoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <tarvic/Version.h>
#include <tarvic/platform/Text.h>

#include <iterator>

#include "net/PayloadJson.h"
#include "salle/DetailsDialog.h"
#include "salle/PlaceText.h"
#include "salle/RoomPrompts.h"
#include "salle/RunKeeping.h"
#include "salle/Tile.h"
#include "window/FlowLayout.h"
#include "window/Latin1.h"

namespace salle {
namespace {

using banc::window::Q;

// As the places take them: beyond it a message is refused by the place.
constexpr std::size_t kLongestMessage = 1000;

bool Reachable(const Place& place) { return place.state && place.state->activity != net::PosteActivity::Offline; }

std::string Described(const Place& place)
{
    return place.poste.poste + " (" + NameLine(place) + ", salle " + place.poste.salle + ")";
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

RoomWindow::RoomWindow(RoomPrompts& prompts, Links links, Options options, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_links(std::move(links)), m_options(std::move(options)),
      m_clock([] { return Clock::now(); }), m_room(m_options.silence)
{
    setWindowTitle(Q(m_options.watched.empty() ? std::string("Toutes les salles - tarvic-salle")
                                               : "Salle " + m_options.watched + " - tarvic-salle"));
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto* rooms = new QWidget;
    m_rooms = new QVBoxLayout(rooms);
    m_rooms->addStretch(1);
    scroll->setWidget(rooms);
    setCentralWidget(scroll);

    QMenu* file = menuBar()->addMenu(Q("&Fichier"));
    QAction* quit = file->addAction(Q("&Quitter"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    QMenu* room = menuBar()->addMenu(Q("&Salle"));
    m_stopAll = room->addAction(Q("&Tout arr\xEAter..."), this, &RoomWindow::AskStopAll);
    QMenu* help = menuBar()->addMenu(Q("&Aide"));
    help->addAction(Q("\xC0 &propos de tarvic-salle"), this, [this] {
        QMessageBox::about(this, Q("\xC0 propos de tarvic-salle"),
                           Q("tarvic-salle " TARVIC_VERSION_STRING "\nLa vue de la salle : chaque banc et chaque "
                             "station qui publie sur le courtier MQTT, ses mesures et ses essais."));
    });
    QToolBar* tools = addToolBar(Q("Salle"));
    tools->setObjectName(QStringLiteral("salle"));
    tools->addAction(m_stopAll);

    m_link = new QLabel;
    m_kept = new QLabel;
    statusBar()->addPermanentWidget(m_link);
    statusBar()->addPermanentWidget(m_kept);

    m_historyPath = m_options.historyPath.empty() ? RoomHistoryPath() : m_options.historyPath;
    m_historyError = m_history.Open(m_historyPath);
    ShowLink();
    ShowKept();

    auto* ticks = new QTimer(this);
    connect(ticks, &QTimer::timeout, this, &RoomWindow::Refresh);
    ticks->start(1000);
}

RoomWindow::~RoomWindow() = default;

net::RoomListener::Handlers RoomWindow::Handlers()
{
    // Queued to this window's thread; dropped once it is gone.
    net::RoomListener::Handlers handlers;
    handlers.state = [this](const net::Poste& poste, const net::PosteState& state) {
        QMetaObject::invokeMethod(this, [this, poste, state] { Heard(poste, state); }, Qt::QueuedConnection);
    };
    handlers.measures = [this](const net::Poste& poste, const net::Measures& measures) {
        QMetaObject::invokeMethod(this, [this, poste, measures] { Heard(poste, measures); }, Qt::QueuedConnection);
    };
    handlers.run = [this](const net::Poste& poste, const net::RunEnd& run) {
        QMetaObject::invokeMethod(this, [this, poste, run] { Heard(poste, run); }, Qt::QueuedConnection);
    };
    handlers.station = [this](const net::Poste& poste, const net::StationBits& bits) {
        QMetaObject::invokeMethod(this, [this, poste, bits] { Heard(poste, bits); }, Qt::QueuedConnection);
    };
    handlers.unreadable = [this](const net::Poste& poste, const std::string& topic, const std::string& why) {
        QMetaObject::invokeMethod(
            this, [this, poste, topic, why] { Unreadable(poste, topic, why); }, Qt::QueuedConnection);
    };
    return handlers;
}

void RoomWindow::Heard(const net::Poste& poste, const net::PosteState& state)
{
    Changed(m_room.Heard(poste, state, m_clock()));
}

void RoomWindow::Heard(const net::Poste& poste, const net::Measures& measures)
{
    Changed(m_room.Heard(poste, measures, m_clock()));
}

void RoomWindow::Heard(const net::Poste& poste, const net::RunEnd& run)
{
    Place& place = m_room.Heard(poste, run, m_clock());
    Keep(place);
    Changed(place);
}

void RoomWindow::Heard(const net::Poste& poste, const net::StationBits& bits)
{
    Changed(m_room.Heard(poste, bits, m_clock()));
}

void RoomWindow::Unreadable(const net::Poste& poste, const std::string& topic, const std::string& why)
{
    // A topic that names no place has no tile to be shown on.
    if (poste.salle.empty() || poste.poste.empty()) {
        statusBar()->showMessage(Q("Illisible, " + topic + " : " + why));
        return;
    }
    Changed(m_room.Unreadable(poste, topic, why));
}

void RoomWindow::Keep(Place& place)
{
    banc::history::StoredRun stored;
    if (std::string refused = MakeRoomRun(place.poste, *place.run, place.state ? place.state->card : "", stored);
        !refused.empty()) {
        place.runNotice = refused;
        return;
    }
    if (!m_historyError.empty()) {
        place.runNotice = m_historyError + " L'essai n'y est pas gard\xE9.";
        return;
    }
    place.runNotice = m_history.Insert(stored);
    if (!place.runNotice.empty()) return;
    place.runKept = stored.number;
    m_runsKept.insert(stored.number);
    ShowKept();
}

void RoomWindow::Changed(const Place& place)
{
    const Room::Key key{place.poste.salle, place.poste.poste};
    Tile* tile = m_tiles.count(key) ? m_tiles.at(key) : MakeTile(place);
    const Clock::time_point now = m_clock();
    const auto silent = m_room.SilentFor(place, now);
    tile->Show(place, silent, now);
    if (DetailsDialog* details = DetailsOf(place.poste)) details->Show(place, silent, now);
}

Tile* RoomWindow::MakeTile(const Place& place)
{
    const std::string& salle = place.poste.salle;
    if (!m_groups.count(salle)) {
        auto* box = new QGroupBox(Q("Salle " + salle));
        box->setObjectName(Q(salle));
        auto* flow = new banc::window::FlowLayout(box, 10);
        m_groups[salle] = box;
        m_flows[salle] = flow;
        // The rooms in their names' order, above the stretch.
        m_rooms->insertWidget(static_cast<int>(std::distance(m_groups.begin(), m_groups.find(salle))), box);
    }
    auto* tile = new Tile;
    const Room::Key key{salle, place.poste.poste};
    m_tiles[key] = tile;
    const net::Poste poste = place.poste;
    connect(tile, &Tile::opened, this, [this, poste] { OpenDetails(poste); });
    connect(tile, &Tile::stopAsked, this, [this, poste] { AskStop(poste); });
    connect(tile, &Tile::messageAsked, this, [this, poste] { AskMessage(poste); });
    // The places of a room in their names' order: laid out again whole.
    banc::window::FlowLayout* flow = m_flows[salle];
    while (QLayoutItem* item = flow->takeAt(0)) delete item;
    for (const auto& [other, shown] : m_tiles)
        if (other.first == salle) flow->addWidget(shown);
    return tile;
}

void RoomWindow::Refresh()
{
    const Clock::time_point now = m_clock();
    for (const auto& [key, place] : m_room.Places()) {
        const auto silent = m_room.SilentFor(place, now);
        if (Tile* tile = m_tiles.count(key) ? m_tiles.at(key) : nullptr) tile->Show(place, silent, now);
        if (DetailsDialog* details = DetailsOf(place.poste)) details->Show(place, silent, now);
    }
    ShowLink();
}

void RoomWindow::Send(const net::Poste& poste, const net::Order& order, const std::string& done)
{
    if (m_links.send) m_links.send(poste, order);
    statusBar()->showMessage(Q(done));
}

void RoomWindow::AskStop(const net::Poste& poste)
{
    const Place* place = m_room.Find(poste);
    if (!place || !Reachable(*place)) return;
    if (!m_prompts.Confirm(this, "Arr\xEAter", "Arr\xEAter " + Described(*place) + " ?")) return;
    net::Order order;
    order.kind = net::Order::Kind::Stop;
    order.time = net::UtcNow();
    Send(poste, order, "Ordre d'arr\xEAt envoy\xE9 \xE0 " + poste.poste + ".");
}

void RoomWindow::AskMessage(const net::Poste& poste)
{
    const Place* place = m_room.Find(poste);
    if (!place || !Reachable(*place)) return;
    std::string text;
    if (!m_prompts.AskMessage(this, Described(*place), text)) return;
    text = Trimmed(text);
    if (text.empty()) {
        statusBar()->showMessage(Q("Message vide : rien n'est envoy\xE9."));
        return;
    }
    if (text.size() > kLongestMessage) {
        statusBar()->showMessage(
            Q(tarvic::Format("Message non envoy\xE9 : %zu caract\xE8res, au plus %zu.", text.size(), kLongestMessage)));
        return;
    }
    net::Order order;
    order.kind = net::Order::Kind::Message;
    order.text = text;
    order.time = net::UtcNow();
    Send(poste, order, "Message envoy\xE9 \xE0 " + poste.poste + ".");
}

void RoomWindow::AskStopAll()
{
    std::vector<net::Poste> reachable;
    std::string names;
    for (const auto& [key, place] : m_room.Places())
        if (Reachable(place)) {
            reachable.push_back(place.poste);
            names += (names.empty() ? "" : ", ") + place.poste.salle + "/" + place.poste.poste;
        }
    if (reachable.empty()) {
        statusBar()->showMessage(Q("Aucun poste en ligne \xE0 arr\xEAter."));
        return;
    }
    const std::string question =
        reachable.size() == 1 ? "Arr\xEAter le poste en ligne, " + names + " ?"
                              : tarvic::Format("Arr\xEAter les %zu postes en ligne, ", reachable.size()) + names + " ?";
    if (!m_prompts.Confirm(this, "Tout arr\xEAter", question)) return;
    net::Order order;
    order.kind = net::Order::Kind::Stop;
    order.time = net::UtcNow();
    for (const net::Poste& poste : reachable)
        if (m_links.send) m_links.send(poste, order);
    statusBar()->showMessage(Q(tarvic::Format("Ordre d'arr\xEAt envoy\xE9 \xE0 %zu postes.", reachable.size())));
}

DetailsDialog* RoomWindow::OpenDetails(const net::Poste& poste)
{
    const Place* place = m_room.Find(poste);
    if (!place) return nullptr;
    DetailsDialog* details = DetailsOf(poste);
    if (!details) {
        details = new DetailsDialog(this);
        details->setAttribute(Qt::WA_DeleteOnClose);
        m_details[{poste.salle, poste.poste}] = details;
    }
    const Clock::time_point now = m_clock();
    details->Show(*place, m_room.SilentFor(*place, now), now);
    details->show();
    details->raise();
    return details;
}

Tile* RoomWindow::TileOf(const net::Poste& poste) const
{
    const auto found = m_tiles.find({poste.salle, poste.poste});
    return found == m_tiles.end() ? nullptr : found->second;
}

QGroupBox* RoomWindow::GroupOf(const std::string& salle) const
{
    const auto found = m_groups.find(salle);
    return found == m_groups.end() ? nullptr : found->second;
}

DetailsDialog* RoomWindow::DetailsOf(const net::Poste& poste) const
{
    const auto found = m_details.find({poste.salle, poste.poste});
    return found == m_details.end() ? nullptr : found->second.data();
}

void RoomWindow::ShowLink()
{
    if (!m_links.counters) {
        m_link->setText(Q("Sans courtier"));
        return;
    }
    const net::LinkCounters counters = m_links.counters();
    if (counters.connected)
        m_link->setText(Q("Connect\xE9 \xE0 " + m_links.broker));
    else
        m_link->setText(Q("Pas de courtier (" + m_links.broker + ")" +
                          (counters.lastError.empty() ? "" : " : " + counters.lastError)));
}

void RoomWindow::ShowKept()
{
    if (!m_historyError.empty()) {
        m_kept->setText(Q(m_historyError));
        return;
    }
    m_kept->setText(Q(tarvic::Format("Essais gard\xE9s : %zu (%s)", m_runsKept.size(), m_historyPath.c_str())));
}

}  // namespace salle
