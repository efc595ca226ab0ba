#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <thread>

#include "BancTestSupport.h"
#include "HistorySupport.h"
#include "SalleSupport.h"
#include "engine/history/RunHistory.h"
#include "engine/outputs/RecordingArchive.h"
#include "salle/DetailsDialog.h"
#include "salle/RoomWindow.h"
#include "salle/RunPlotView.h"
#include "salle/StationBitsView.h"
#include "salle/Tile.h"
#include "salle/TrendView.h"
#include "support/TraceCapture.h"
#include "window/Latin1.h"

using namespace salle;
using namespace std::chrono_literals;
using banc::window::Q;
using salle::test::BenchState;
using salle::test::LevelMeasures;
using salle::test::SentOrder;
using salle::test::StationState;

namespace {

const Clock::time_point kStart{std::chrono::hours(1000)};
const net::Poste kBench{"B101", "pc01"}, kOther{"B101", "pc02"}, kStation{"B101", "pc06"}, kNextRoom{"A012", "pc01"};

QColor Background(const QWidget* widget) { return widget->palette().color(QPalette::Window); }

class RoomWindowTest : public ::testing::Test {
protected:
    RoomWindowTest()
    {
        salle::test::Application();
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~RoomWindowTest() override
    {
        ::unsetenv("TZ");
        ::tzset();
    }

    RoomWindow& Open(std::chrono::seconds silence = 10s, std::string history = "")
    {
        RoomWindow::Links links;
        links.send = [this](const net::Poste& poste, const net::Order& order) { sent.push_back({poste, order}); };
        RoomWindow::Options options;
        options.silence = silence;
        options.historyPath = history.empty() ? m_folder.File("salle.sqlite") : history;
        m_window = std::make_unique<RoomWindow>(prompts, links, options);
        m_window->SetClock([this] { return now; });
        return *m_window;
    }
    std::string Status() const { return banc::window::Latin1(m_window->statusBar()->currentMessage()); }
    net::RunEnd PublishedRun() const { return salle::test::PublishedRun(m_recorded); }

    salle::test::ScriptedRoomPrompts prompts;
    std::vector<SentOrder> sent;
    Clock::time_point now = kStart;
    tarvic::test::TraceCapture m_quiet;
    banc::test::TemporaryFolder m_folder;
    banc::test::WaterLevelRun m_recorded{2, banc::test::RampWithOvershoot};
    std::unique_ptr<RoomWindow> m_window;
};

void ExpectUtcTimeStamp(const std::string& time)
{
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)"))
                    .match(QString::fromLatin1(time))
                    .hasMatch())
        << time;
}

}  // namespace

TEST_F(RoomWindowTest, EveryPlacePublishedHasATileInItsRoomsGroup)
{
    RoomWindow& window = Open();
    window.Heard(kOther, BenchState(net::PosteActivity::Free, "debitair"));
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    window.Heard(kBench, LevelMeasures(18.54));
    window.Heard(kStation, StationState());
    window.Heard(kNextRoom, BenchState(net::PosteActivity::Stopped, "axenum"));
    ASSERT_NE(window.GroupOf("B101"), nullptr);
    ASSERT_NE(window.GroupOf("A012"), nullptr);
    EXPECT_EQ(window.GroupOf("B101")->title(), "Salle B101");
    EXPECT_EQ(window.GroupOf("A012")->title(), "Salle A012");
    // Each room's places in their names' order.
    QLayout* places = window.GroupOf("B101")->layout();
    ASSERT_EQ(places->count(), 3);
    EXPECT_EQ(places->itemAt(0)->widget(), window.TileOf(kBench));
    EXPECT_EQ(places->itemAt(1)->widget(), window.TileOf(kOther));
    EXPECT_EQ(places->itemAt(2)->widget(), window.TileOf(kStation));
    EXPECT_EQ(window.GroupOf("A012")->layout()->count(), 1);

    const Tile* bench = window.TileOf(kBench);
    EXPECT_EQ(bench->Title()->text(), "pc01");
    EXPECT_EQ(bench->Name()->text(), "niveaueau (pid), banc");
    EXPECT_EQ(bench->State()->text(), "Essai en cours");
    EXPECT_EQ(Background(bench->State()), QColor(21, 101, 192));
    EXPECT_EQ(bench->Measure()->text(), "Niveau : 18,5 cm");
    EXPECT_TRUE(bench->Run()->isHidden());
    EXPECT_TRUE(bench->Unreadable()->isHidden());
    EXPECT_EQ(window.TileOf(kOther)->Name()->text(), "debitair (pid), banc");
    EXPECT_EQ(window.TileOf(kOther)->State()->text(), "Libre");
    EXPECT_EQ(Background(window.TileOf(kOther)->State()), QColor(46, 125, 50));
    EXPECT_TRUE(window.TileOf(kOther)->Measure()->isHidden());
    EXPECT_EQ(window.TileOf(kStation)->Name()->text(), "Varnok, station");
    EXPECT_EQ(window.TileOf(kNextRoom)->State()->text(), Q("Arr\xEAt\xE9"));
    EXPECT_EQ(Background(window.TileOf(kNextRoom)->State()), QColor(230, 81, 0));
}

TEST_F(RoomWindowTest, ARunningBenchQuietBeyondTheSilenceTurnsGreyWithTheTimeSince)
{
    RoomWindow& window = Open(10s);
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    window.Heard(kBench, LevelMeasures(18.5));
    const Tile* tile = window.TileOf(kBench);
    now = kStart + 10s;
    window.Refresh();
    EXPECT_FALSE(tile->Silent());
    EXPECT_EQ(tile->State()->text(), "Essai en cours");
    EXPECT_EQ(Background(tile), QColor(255, 255, 255));
    now = kStart + 125s;
    window.Refresh();
    EXPECT_TRUE(tile->Silent());
    EXPECT_EQ(tile->State()->text(), "Silencieux depuis 2 min 05 s");
    EXPECT_EQ(Background(tile->State()), QColor(158, 158, 158));
    EXPECT_EQ(Background(tile), QColor(224, 224, 224));
    // Its last value stays in sight.
    EXPECT_EQ(tile->Measure()->text(), "Niveau : 18,5 cm");
    window.Heard(kBench, LevelMeasures(19));
    EXPECT_FALSE(tile->Silent());
    EXPECT_EQ(tile->State()->text(), "Essai en cours");
    EXPECT_EQ(Background(tile), QColor(255, 255, 255));
}

TEST_F(RoomWindowTest, ArreterAsksFirstAndSendsTheStopOnlyOnYes)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    prompts.answers = {false, true};
    window.TileOf(kBench)->StopButton()->click();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0], "Arr\xEAter|Arr\xEAter pc01 (niveaueau (pid), banc, salle B101) ?");
    EXPECT_TRUE(sent.empty());
    window.TileOf(kBench)->StopButton()->click();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].poste.salle, "B101");
    EXPECT_EQ(sent[0].poste.poste, "pc01");
    EXPECT_EQ(sent[0].order.kind, net::Order::Kind::Stop);
    EXPECT_EQ(sent[0].order.text, "");
    ExpectUtcTimeStamp(sent[0].order.time);
    EXPECT_EQ(Status(), "Ordre d'arr\xEAt envoy\xE9 \xE0 pc01.");
}

TEST_F(RoomWindowTest, AMessageGoesAsTypedOnceTheTeacherGivesIt)
{
    RoomWindow& window = Open();
    window.Heard(kStation, StationState());
    prompts.messages = {"  Rangez la station, la s\xE9" "ance se termine.\n"};
    window.TileOf(kStation)->MessageButton()->click();
    // Given up: nothing goes.
    window.TileOf(kStation)->MessageButton()->click();
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{"Message|pc06 (Varnok, station, salle B101)",
                                                       "Message|pc06 (Varnok, station, salle B101)"}));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].poste.poste, "pc06");
    EXPECT_EQ(sent[0].order.kind, net::Order::Kind::Message);
    EXPECT_EQ(sent[0].order.text, "Rangez la station, la s\xE9" "ance se termine.");
    ExpectUtcTimeStamp(sent[0].order.time);
}

TEST_F(RoomWindowTest, AnEmptyOrOverlongMessageIsNotSentAndSaysWhy)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Free));
    prompts.messages = {" \n ", std::string(1001, 'x'), std::string(1000, 'y')};
    window.AskMessage(kBench);
    EXPECT_EQ(Status(), "Message vide : rien n'est envoy\xE9.");
    window.AskMessage(kBench);
    EXPECT_EQ(Status(), "Message non envoy\xE9 : 1001 caract\xE8res, au plus 1000.");
    EXPECT_TRUE(sent.empty());
    window.AskMessage(kBench);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].order.text, std::string(1000, 'y'));
}

TEST_F(RoomWindowTest, ToutArreterAsksOnceAndStopsEveryPlaceOnline)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    window.Heard(kOther, BenchState(net::PosteActivity::Offline));
    window.Heard(kStation, StationState());
    window.Heard(kNextRoom, BenchState(net::PosteActivity::Free));
    prompts.answers = {false, true};
    window.StopAllAction()->trigger();
    EXPECT_TRUE(sent.empty());
    window.StopAllAction()->trigger();
    EXPECT_EQ(prompts.asked,
              (std::vector<std::string>{
                  "Tout arr\xEAter|Arr\xEAter les 3 postes en ligne, A012/pc01, B101/pc01, B101/pc06 ?",
                  "Tout arr\xEAter|Arr\xEAter les 3 postes en ligne, A012/pc01, B101/pc01, B101/pc06 ?"}));
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].poste.salle + "/" + sent[0].poste.poste, "A012/pc01");
    EXPECT_EQ(sent[1].poste.salle + "/" + sent[1].poste.poste, "B101/pc01");
    EXPECT_EQ(sent[2].poste.salle + "/" + sent[2].poste.poste, "B101/pc06");
    for (const SentOrder& order : sent) EXPECT_EQ(order.order.kind, net::Order::Kind::Stop);
    EXPECT_EQ(Status(), "Ordre d'arr\xEAt envoy\xE9 \xE0 3 postes.");
}

TEST_F(RoomWindowTest, APlaceOffLineTakesNoOrderAndNoneOnlineIsSaid)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Offline));
    EXPECT_FALSE(window.TileOf(kBench)->StopButton()->isEnabled());
    EXPECT_FALSE(window.TileOf(kBench)->MessageButton()->isEnabled());
    EXPECT_EQ(window.TileOf(kBench)->State()->text(), "Hors ligne");
    window.AskStop(kBench);
    window.AskStopAll();
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(Status(), "Aucun poste en ligne \xE0 arr\xEAter.");
}

TEST_F(RoomWindowTest, ARunHeardIsKeptOnceInTheRoomsHistoryAndShownOnItsTile)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    window.Heard(kBench, PublishedRun());
    // Delivered again, as a message may be.
    window.Heard(kBench, PublishedRun());
    const Tile* tile = window.TileOf(kBench);
    EXPECT_EQ(tile->Run()->text(), Q("Dernier essai 14:04:05, complet : valeur finale 49,5 %, d\xE9passement 10,0 %"));
    EXPECT_EQ(tile->Kept()->text(), Q("Gard\xE9 sous le n\xB0 1"));
    EXPECT_EQ(banc::window::Latin1(window.HistoryStatus()->text()),
              "Essais gard\xE9s : 1 (" + m_folder.File("salle.sqlite") + ")");
    EXPECT_EQ(banc::test::QuerySql(m_folder.File("salle.sqlite"), "SELECT count(*) FROM essais"), "1");
    banc::history::RunHistory history;
    ASSERT_EQ(history.Open(m_folder.File("salle.sqlite")), "");
    banc::history::StoredRun kept;
    ASSERT_EQ(history.Read(1, kept), "");
    EXPECT_EQ(kept.room, "B101");
    EXPECT_EQ(kept.host, "pc01");
    EXPECT_EQ(kept.user, "\xC9lodie");
    EXPECT_EQ(kept.card, "cardsim 1.0");
    EXPECT_EQ(kept.startedAt, "2026-12-08 14:02:05");
    EXPECT_EQ(kept.archive, banc::ArchiveBytes(m_recorded.settings, m_recorded.elements));
}

TEST_F(RoomWindowTest, ABaseThatCannotBeOpenedIsSaidAndTheRunStillShown)
{
    RoomWindow& window = Open(10s, m_folder.Path());
    const std::string why = "Impossible d'ouvrir la base d'essais " + m_folder.Path() + " : ce n'est pas un fichier.";
    EXPECT_EQ(banc::window::Latin1(window.HistoryStatus()->text()), why);
    window.Heard(kBench, PublishedRun());
    EXPECT_EQ(window.TileOf(kBench)->Kept()->text(), Q(why + " L'essai n'y est pas gard\xE9."));
    EXPECT_EQ(window.TileOf(kBench)->Run()->text(),
              Q("Dernier essai 14:04:05, complet : valeur finale 49,5 %, d\xE9passement 10,0 %"));
}

TEST_F(RoomWindowTest, AnUnreadablePayloadIsShownOnItsPlacesTile)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    window.Unreadable(kBench, "tarvic/B101/pc01/mesures", "ce n'est pas du JSON.");
    const Tile* tile = window.TileOf(kBench);
    EXPECT_FALSE(tile->Unreadable()->isHidden());
    EXPECT_EQ(tile->Unreadable()->text(), "Illisible, tarvic/B101/pc01/mesures : ce n'est pas du JSON.");
    EXPECT_EQ(tile->State()->text(), "Essai en cours");
    // A place known only by what could not be read has its tile too.
    window.Unreadable(kOther, "tarvic/B101/pc02/etat", "sch\xE9ma 7 inconnu.");
    EXPECT_EQ(window.TileOf(kOther)->State()->text(), "Inconnu");
    EXPECT_EQ(window.TileOf(kOther)->Unreadable()->text(),
              Q("Illisible, tarvic/B101/pc02/etat : sch\xE9ma 7 inconnu."));
    EXPECT_FALSE(window.TileOf(kOther)->StopButton()->isEnabled());
    // One that names no place is said in the status bar.
    window.Unreadable({"", ""}, "tarvic/x", "sujet inconnu : tarvic/x");
    EXPECT_EQ(Status(), "Illisible, tarvic/x : sujet inconnu : tarvic/x");
    EXPECT_EQ(window.GroupOf(""), nullptr);
}

TEST_F(RoomWindowTest, AClickOpensTheDetailsKeptUpToDate)
{
    RoomWindow& window = Open();
    window.Heard(kBench, BenchState(net::PosteActivity::Running));
    window.Heard(kBench, LevelMeasures(18.5));
    QTest::mouseClick(window.TileOf(kBench), Qt::LeftButton, {}, QPoint(20, 10));
    DetailsDialog* details = window.DetailsOf(kBench);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->windowTitle(), "pc01 (salle B101)");
    EXPECT_EQ(details->StateText()->text(), Q("niveaueau (pid), banc : Essai en cours, carte cardsim 1.0, \xC9lodie"));
    EXPECT_EQ(details->Values()->text(), "Consigne : 20,0 cm    Niveau : 18,5 cm    Commande : 42,5 %");
    EXPECT_EQ(details->Tabs()->tabText(0), "Mesures");
    EXPECT_FALSE(details->RunPlot()->Loaded());
    EXPECT_EQ(details->RunText()->text(), "Aucun essai depuis l'ouverture de la vue.");
    window.Heard(kBench, LevelMeasures(19.26));
    EXPECT_EQ(details->Values()->text(), "Consigne : 20,0 cm    Niveau : 19,3 cm    Commande : 42,5 %");
    window.Heard(kBench, PublishedRun());
    EXPECT_TRUE(details->RunPlot()->Loaded());
    EXPECT_EQ(banc::window::Latin1(details->RunText()->text()),
              "Dernier essai 14:04:05, complet : valeur finale 49,5 %, d\xE9passement 10,0 %\n"
              "Banc : niveaueau, mode pid\n"
              "R\xE9glages : PID K1= 2.00, Ti= 20.00 s\n"
              "Utilisateur : \xC9lodie\n"
              "Essai n\xB0 12 au poste\n"
              "Gard\xE9 sous le n\xB0 1");
    // Opened again, the same dialog comes up.
    EXPECT_EQ(window.OpenDetails(kBench), details);
}

TEST_F(RoomWindowTest, AStationsDetailsShowItsBitsAndAnUnreadableRunSaysWhy)
{
    RoomWindow& window = Open();
    window.Heard(kStation, StationState());
    net::StationBits bits;
    bits.inputs = {0x05, 0x80};
    bits.outputs = {0x01};
    bits.stateText = "Carte : VARNOK V1.0";
    window.Heard(kStation, bits);
    EXPECT_EQ(window.TileOf(kStation)->Measure()->text(), Q("Carte : VARNOK V1.0, entr\xE9" "es 05 80, sorties 01"));
    EXPECT_TRUE(window.TileOf(kStation)->TrendOf()->isHidden());
    DetailsDialog* details = window.OpenDetails(kStation);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->StationText()->text(), "Carte : VARNOK V1.0");
    std::string inputs, outputs;
    for (int byte = 0; byte < 2; ++byte)
        for (int bit = 0; bit < 8; ++bit) inputs += details->Bits()->Bit(false, byte, bit)->text().toStdString();
    for (int bit = 0; bit < 8; ++bit) outputs += details->Bits()->Bit(true, 0, bit)->text().toStdString();
    EXPECT_EQ(inputs, "1010000000000001");
    EXPECT_EQ(outputs, "10000000");
    EXPECT_EQ(details->Bits()->Bit(true, 1, 0), nullptr);
    EXPECT_EQ(Background(details->Bits()->Bit(false, 0, 0)), QColor(102, 187, 106));
    EXPECT_EQ(Background(details->Bits()->Bit(false, 0, 1)), QColor(224, 224, 224));

    net::RunEnd damaged = PublishedRun();
    damaged.archive = "TARVIC";
    window.Heard(kBench, damaged);
    DetailsDialog* bench = window.OpenDetails(kBench);
    EXPECT_FALSE(bench->RunPlot()->Loaded());
    const std::string text = banc::window::Latin1(bench->RunText()->text());
    EXPECT_NE(text.find("Il n'est pas gard\xE9."), std::string::npos) << text;
    EXPECT_EQ(text.find("Gard\xE9 sous"), std::string::npos) << text;
}

TEST_F(RoomWindowTest, TheListenersThreadHandsWhatItHearsToTheWindows)
{
    RoomWindow& window = Open();
    const net::RoomListener::Handlers handlers = window.Handlers();
    std::thread listener([&] {
        handlers.state(kBench, BenchState(net::PosteActivity::Running));
        handlers.measures(kBench, LevelMeasures(18.5));
        handlers.station(kStation, net::StationBits{{1}, {0}, "Carte : VARNOK V1.0", ""});
        handlers.unreadable(kOther, "tarvic/B101/pc02/etat", "pas du JSON.");
        handlers.run(kBench, PublishedRun());
    });
    listener.join();
    // Nothing is touched off the window's thread: it all waits for its event loop.
    EXPECT_EQ(window.TileOf(kBench), nullptr);
    QCoreApplication::processEvents();
    ASSERT_NE(window.TileOf(kBench), nullptr);
    EXPECT_EQ(window.TileOf(kBench)->Measure()->text(), "Niveau : 18,5 cm");
    EXPECT_EQ(window.TileOf(kBench)->Kept()->text(), Q("Gard\xE9 sous le n\xB0 1"));
    ASSERT_NE(window.TileOf(kStation), nullptr);
    ASSERT_NE(window.TileOf(kOther), nullptr);
    EXPECT_EQ(window.TileOf(kOther)->Unreadable()->text(), "Illisible, tarvic/B101/pc02/etat : pas du JSON.");
}
