#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "BancTestSupport.h"
#include "SalleSupport.h"
#include "net/MqttClient.h"
#include "net/PostePublisher.h"
#include "net/RoomListener.h"
#include "net/support/TestBroker.h"
#include "salle/RoomWindow.h"
#include "salle/Tile.h"
#include "support/TraceCapture.h"
#include "window/Latin1.h"

using namespace salle;
using salle::test::BenchState;
using salle::test::LevelMeasures;

namespace {

// Runs the window's events until the condition holds, up to a generous limit; whether it holds.
template <typename Condition>
bool SpinUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

net::MqttSettings On(const tarvic::test::TestBroker& broker, const std::string& salle, const std::string& poste)
{
    net::MqttSettings settings;
    settings.host = "127.0.0.1";
    settings.port = broker.Port();
    settings.poste = {salle, poste};
    return settings;
}

}  // namespace

TEST(RoomBrokerTest, APublishingBenchHasItsTileAndTakesTheStopGivenThere)
{
    TARVIC_REQUIRE_MOSQUITTO();
    salle::test::Application();
    tarvic::test::TraceCapture quiet;
    tarvic::test::TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    banc::test::TemporaryFolder folder;

    // A bench of the room, and retained garbage where another place would be.
    net::PostePublisher bench(On(broker, "B101", "pc01"), net::PosteKind::Bench, "tarvic-banc", "1.0.0");
    std::atomic<int> stops{0};
    bench.OnOrder([&](const net::Order& order) { stops += order.kind == net::Order::Kind::Stop; },
                  [](const std::string&) {});
    bench.PublishState(BenchState(net::PosteActivity::Running));
    {
        net::MqttClient garbage(On(broker, "B101", "intrus"), "intrus", net::MqttClient::Will{});
        garbage.Publish("tarvic/B101/pc09/etat", "pas du JSON", true);
        ASSERT_TRUE(tarvic::test::WaitUntil([&] { return garbage.Counters().delivered == 1; }));
    }

    salle::test::ScriptedRoomPrompts prompts;
    prompts.answers = {true};
    std::unique_ptr<net::RoomListener> listener;
    RoomWindow::Links links;
    links.send = [&listener](const net::Poste& poste, const net::Order& order) { listener->Send(poste, order); };
    RoomWindow::Options options;
    options.historyPath = folder.File("salle.sqlite");
    options.watched = "B101";
    RoomWindow window(prompts, links, options);
    listener = std::make_unique<net::RoomListener>(On(broker, "B101", "prof"), window.Handlers());

    // The retained state is there for a view started later.
    ASSERT_TRUE(SpinUntil([&] { return window.TileOf({"B101", "pc01"}) != nullptr; })) << broker.Log();
    EXPECT_EQ(window.TileOf({"B101", "pc01"})->State()->text(), "Essai en cours");
    ASSERT_TRUE(SpinUntil([&] { return window.TileOf({"B101", "pc09"}) != nullptr; })) << broker.Log();
    const std::string unreadable = banc::window::Latin1(window.TileOf({"B101", "pc09"})->Unreadable()->text());
    EXPECT_EQ(unreadable.rfind("Illisible, tarvic/B101/pc09/etat : ", 0), 0u) << unreadable;
    EXPECT_EQ(window.TileOf({"B101", "pc09"})->State()->text(), "Inconnu");

    bench.PublishMeasures([] { return LevelMeasures(18.5); });
    ASSERT_TRUE(SpinUntil([&] { return window.TileOf({"B101", "pc01"})->Measure()->text() == "Niveau : 18,5 cm"; }));

    window.AskStop({"B101", "pc01"});
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return stops == 1; })) << broker.Log();
    listener.reset();
}
