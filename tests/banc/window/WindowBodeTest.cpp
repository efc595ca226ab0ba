#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QTabWidget>

#include <tarvic/platform/RecordingDC.h>
#include <tarvic/recording/Enregistrement.h>
#include <tarvic/widgets/IconButton.h>

#include <algorithm>
#include <cmath>

#include "WindowFixture.h"
#include "window/BodeView.h"
#include "window/MenuBar.h"
#include "window/RunStatus.h"
#include "window/SweepDialog.h"
#include "window/SweepRun.h"

using namespace banc;
using banc::test::SpinUntil;
using banc::window::LinkState;

namespace {

analysis::BodePoint At(double hz, double db, double deg)
{
    analysis::BodePoint point;
    point.frequencyHz = hz;
    point.gainDb = db;
    point.gain = std::pow(10.0, db / 20);
    point.phaseDeg = deg;
    return point;
}

class WindowBode : public ::testing::Test {
protected:
    void Open(const char* bench, const char* mode, double speed)
    {
        m_fixture.Prefer(bench, mode, speed);
        m_fixture.Open();
        ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == LinkState::Answering; }));
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    window::SweepDialog& Dialog()
    {
        Window().Do(window::Action::Sweep);
        auto* dialog = dynamic_cast<window::SweepDialog*>(Window().OpenDialog());
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    static void Fill(window::SweepDialog& dialog, const char* low, const char* high, const char* points)
    {
        dialog.Field(window::SweepDialog::kLowField)->setText(QString::fromLatin1(low));
        dialog.Field(window::SweepDialog::kHighField)->setText(QString::fromLatin1(high));
        dialog.Field(window::SweepDialog::kPointsField)->setText(QString::fromLatin1(points));
    }
    std::vector<std::string> Lines(const std::string& path)
    {
        std::vector<std::string> lines;
        const std::string text = banc::test::ReadFile(path);
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t end = text.find("\r\n", from);
            lines.push_back(text.substr(from, end - from));
            from = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowBode, TheBodeDiagramIsATabBesideTheTimePlot)
{
    Open("niveaueau", "bo", 1);
    QTabWidget& tabs = *Window().PlotTabs();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("&Courbes"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Diagramme de &Bode"));
    EXPECT_EQ(tabs.widget(1), Window().Bode());
    EXPECT_EQ(tabs.currentIndex(), 0);
    // Without a sweep it says how to get one.
    EXPECT_FALSE(Window().Bode()->HasDiagram());
    CRecordingDC empty;
    Window().Bode()->Render(empty, 1100);
    const auto said = std::find_if(empty.Calls().begin(), empty.Calls().end(), [](const auto& call) {
        return call.op == "text" &&
               call.text == "Pas encore de diagramme : Essai, R\xE9ponse fr\xE9quentielle, en boucle ouverte.";
    });
    EXPECT_NE(said, empty.Calls().end());
}

TEST_F(WindowBode, TheViewDrawsTheDiagramOverItsWidthOffscreen)
{
    Open("niveaueau", "bo", 1);
    window::BodeView& view = *Window().Bode();
    BodeContent content;
    content.measured = {At(0.01, 0, -10), At(0.1, -5, -50), At(1, -20, -85)};
    view.Show(content);
    // 1100 columns: the frequencies from column 80 to 1020, 470 a decade; -5 dB on the
    // gain axis of 0 to -20 dB from row 60 to 300, 12 rows a dB.
    CRecordingDC dc;
    view.Render(dc, 1100);
    EXPECT_EQ(view.Frame().right, 1020);
    const auto drawn = dc.Descriptions();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "line (546,116)-(554,124) pen solid 1 rgb(0,0,255)"), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "line (550,60)-(550,300) pen dot 1 rgb(160,160,160)"), drawn.end());

    // On screen, at the tab's size: the same drawing scaled to its height.
    Window().PlotTabs()->setCurrentWidget(&view);
    view.resize(1100, window::BodeView::kHeight);
    const QImage shown = view.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(1100, window::BodeView::kHeight));
    EXPECT_EQ(shown.pixelColor(552, 122), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(600, 200), QColor(255, 255, 255));
}

TEST_F(WindowBode, ASweepOutsideTheOpenLoopIsRefusedAndTheDialogStays)
{
    Open("niveaueau", "pid", 1);
    window::SweepDialog& dialog = Dialog();
    Fill(dialog, "0,01", "0,1", "3");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Error().toLatin1().toStdString(),
              "La r\xE9ponse fr\xE9quentielle se mesure en boucle ouverte (--mode bo), pas en mode pid.");
    EXPECT_FALSE(Bench().Running());
    // A number of frequencies is whole.
    Fill(dialog, "0,01", "0,1", "2,5");
    dialog.accept();
    EXPECT_EQ(dialog.Error().toLatin1().toStdString(), "Nombre de fr\xE9quences : un nombre entier est demand\xE9.");
}

TEST_F(WindowBode, ASweepShowsItsProgressThenItsDiagramAndExportsIt)
{
    // The air flow's temperature, at frequencies of few points a period: few blocks to fetch.
    Open("debitair", "bo", 100);
    int kind = 0;
    {
        std::lock_guard lock(Bench().Lock());
        Bench().LiveElements().generator->LitCParam(0, kind);
    }
    window::SweepDialog& dialog = Dialog();
    Fill(dialog, "0,2", "0,5", "2");
    dialog.accept();
    ASSERT_EQ(dialog.Error(), QString());
    ASSERT_TRUE(Bench().Running());
    EXPECT_TRUE(Window().Sweep().Active());
    // Nothing that changes the card while it runs; it may be stopped.
    EXPECT_FALSE(Window().Actions()->Button(window::Action::Sweep)->isEnabled());
    EXPECT_FALSE(Window().Menus()->Of(window::Action::Start)->isEnabled());
    EXPECT_TRUE(Window().Menus()->Of(window::Action::Stop)->isEnabled());
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }, std::chrono::milliseconds(60000)));

    EXPECT_FALSE(Window().Sweep().Active());
    EXPECT_EQ(Window().PlotTabs()->currentWidget(), Window().Bode());
    ASSERT_TRUE(Window().Bode()->HasDiagram());
    const BodeContent& content = *Window().Bode()->Content();
    ASSERT_EQ(content.measured.size(), 2u);
    EXPECT_EQ(content.title, "\\gD\xE9" "bit d'air et temp\xE9rature : r\xE9ponse fr\xE9quentielle");
    // The bounds as the card plays them: 0.2 Hz, ten points of 500 ms; 0.5 Hz, ten of 200 ms.
    EXPECT_DOUBLE_EQ(content.measured[0].frequencyHz, 0.2);
    EXPECT_DOUBLE_EQ(content.measured[1].frequencyHz, 0.5);
    EXPECT_EQ(Window().Status()->NoticeText().toLatin1().toStdString(),
              "R\xE9ponse fr\xE9quentielle : 2 fr\xE9quences mesur\xE9" "es sur 2.");
    EXPECT_EQ(Window().Status()->ProgressValue(), 2);
    EXPECT_EQ(Window().Status()->ProgressText(), QString::fromLatin1("Fr\xE9quence 2 sur 2 mesur\xE9" "e : 0,5 Hz"));
    // The sweep was no run to save, and the user's generator is back.
    EXPECT_FALSE(Bench().Unsaved());
    int after = -1;
    {
        std::lock_guard lock(Bench().Lock());
        Bench().LiveElements().generator->LitCParam(0, after);
    }
    EXPECT_EQ(after, kind);

    // The exports are of the tab shown: the table, then the picture.
    const std::string csv = m_fixture.folder.File("bode.csv");
    m_fixture.prompts.paths = {csv};
    Window().Do(window::Action::ExportCsv);
    const std::vector<std::string> lines = Lines(csv);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "frequence_hz,pulsation_rad_s,gain,gain_db,phase_deg,distorsion_pct,remarque");
    // 2 pi x 0.2 = 1.2566371 rad/s.
    EXPECT_EQ(lines[1].substr(0, lines[1].find(',', 4)), "0.2,1.2566371");
    EXPECT_EQ(lines[2].substr(0, lines[2].find(',', 4)), "0.5,3.1415927");
    const std::string png = m_fixture.folder.File("bode.png");
    m_fixture.prompts.paths = {png};
    Window().Do(window::Action::ExportPng);
    const QImage image(QString::fromLocal8Bit(png.c_str()));
    EXPECT_EQ(image.size(), QSize(Window().Bode()->LogicalWidth(), window::BodeView::kHeight));
    EXPECT_TRUE(m_fixture.prompts.warnings.empty()) << m_fixture.prompts.warnings.front();
}

TEST_F(WindowBode, AStoppedSweepKeepsItsMeasuredPointsAndSaysWhichAreMissing)
{
    Open("debitair", "bo", 100);
    window::SweepDialog& dialog = Dialog();
    // Enough frequencies that a loaded machine cannot measure them all before the stop arrives.
    Fill(dialog, "0,2", "0,5", "20");
    dialog.accept();
    ASSERT_TRUE(Bench().Running());
    // Stopped as soon as the first frequency is measured.
    ASSERT_TRUE(SpinUntil([&] { return Window().Status()->ProgressValue() >= 1; }));
    Window().Do(window::Action::Stop);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
    ASSERT_TRUE(Window().Bode()->HasDiagram());
    const std::size_t measured = Window().Bode()->Content()->measured.size();
    ASSERT_GE(measured, 1u);
    ASSERT_LT(measured, 20u);
    const std::string notice = Window().Status()->NoticeText().toLatin1().toStdString();
    const std::string plural = measured > 1 ? "s" : "";
    EXPECT_EQ(notice.substr(0, notice.find(" Non")),
              "Essai interrompu. R\xE9ponse fr\xE9quentielle : " + std::to_string(measured) + " fr\xE9quence" + plural +
                  " mesur\xE9" "e" + plural + " sur 20.");
    // Each frequency not measured is named, in the status and under the diagram.
    int named = 0;
    for (std::size_t at = notice.find(" Hz"); at != std::string::npos; at = notice.find(" Hz", at + 1)) ++named;
    EXPECT_EQ(named, static_cast<int>(20 - measured));
    EXPECT_NE(Window().Bode()->Content()->legend.find("Non mesur\xE9" "es : "), std::string::npos);
}
