#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <tarvic/platform/IniProfile.h>
#include <tarvic/platform/RecordingDC.h>
#include <tarvic/platform/Text.h>
#include <tarvic/widgets/IconButton.h>

#include <algorithm>

#include "RecordedPlot.h"
#include "WindowFixture.h"
#include "engine/outputs/Results.h"
#include "recording/RecordingSupport.h"
#include "window/CardDialog.h"
#include "window/PlotView.h"
#include "window/PortList.h"

using namespace banc;
using banc::test::RampWithOvershoot;
using banc::test::SpinUntil;
using tarvic::test::Valeurs;

namespace {

class WindowAnalysis : public banc::test::RecordedPlot {
protected:
    static bool Drew(const CRecordingDC& dc, const std::string& text)
    {
        return std::any_of(dc.Calls().begin(), dc.Calls().end(),
                           [&](const auto& call) { return call.op == "text" && call.text == text; });
    }
};

}  // namespace

TEST_F(WindowAnalysis, TheStepsMarkersStandWhereItsFiguresWereRead)
{
    // Up 3.125 % a point to 50 %, three points at 55 % (1795 counts) from point 20.
    Record([](int i) { return RampWithOvershoot(i) / 2; });
    window::PlotView& plot = *m_fixture.Window().Plot();
    CRecordingDC plain;
    Draw(plain);
    EXPECT_FALSE(Drew(plain, "Temps de r\xE9ponse"));
    plot.SetMarkers(true);
    CRecordingDC dc;
    Draw(dc);
    const CAxeTemps& time = plot.TimeAxis();
    const CAxe& values = plot.ValueAxis(0);
    // Out of the 47.5-52.5 band at point 22, in it from point 23 (11.2 s after the step at point 0).
    const float peak = 1795 * 100.0f / kFullScale;
    EXPECT_TRUE(Drew(dc, "Temps de r\xE9ponse"));
    EXPECT_TRUE(Drew(dc, tarvic::Format("%.1f s", (22 + (52.5 - peak) / (50 - peak)) * 0.5)));
    EXPECT_TRUE(Line(dc, {time.calculpx(23), 75}, {time.calculpx(23), 675}));
    EXPECT_TRUE(Line(dc, {time.calculpx(0), values.ConvIntFloat(52.5)}, {time.m_pixDroite, values.ConvIntFloat(52.5)}));
    // 10 % beyond the setpoint step, from point 20.
    EXPECT_TRUE(Drew(dc, "D\xE9passement"));
    EXPECT_TRUE(Drew(dc, "10.0 %"));
    EXPECT_TRUE(Line(dc, {time.calculpx(20), 75}, {time.calculpx(20), 675}));
    // 63.2 % of the change between points 10 and 11.
    EXPECT_TRUE(Drew(dc, "Constante de Temps"));
    EXPECT_TRUE(Drew(dc, "5.1 s"));
}

TEST_F(WindowAnalysis, AResponseStillMovingShowsWhyInsteadOfFigures)
{
    // Up 1.5625 % (51 counts) a point to the end.
    Record([](int i) { return 1.5625f * static_cast<float>(i); });
    window::PlotView& plot = *m_fixture.Window().Plot();
    plot.SetMarkers(true);
    CRecordingDC dc;
    Draw(dc);
    EXPECT_FALSE(Drew(dc, "D\xE9passement"));
    EXPECT_FALSE(Drew(dc, "Temps de r\xE9ponse"));
    // Its last 13 points, 6 s, rise by 12 x 1.5625 %.
    EXPECT_TRUE(Drew(dc, "La mesure monte encore \xE0 la fin de l'enregistrement : +18.75 % en 6.0 s."));
}

TEST_F(WindowAnalysis, TheValueAxesFitTheCurvesInTensOnRequest)
{
    Record([](int i) { return 40 + 20 * static_cast<float>(i) / 63; });
    window::PlotView& plot = *m_fixture.Window().Plot();
    CRecordingDC fixed, fitted;
    Draw(fixed);
    EXPECT_FLOAT_EQ(plot.ValueAxis(0).m_min, 0);
    EXPECT_FLOAT_EQ(plot.ValueAxis(0).m_max, 100);
    plot.SetAutoScale(true);
    Draw(fitted);
    // The measurement from its first point, 39.98 % (1305 counts), in tens below it and above 60 %; the setpoint
    // in 40 to 60; the command at 100 % in 90 to 110.
    float first = 0;
    {
        std::lock_guard lock(m_fixture.Bench().Lock());
        first = m_fixture.Bench().LiveElements().recording->LitPoint('M', 0);
    }
    EXPECT_FLOAT_EQ(first, 1305 * 100.0f / kFullScale);
    EXPECT_FLOAT_EQ(plot.ValueAxis(0).m_min, first - 10);
    EXPECT_FLOAT_EQ(plot.ValueAxis(0).m_max, 110);
}

TEST(PortList, TheMachinesPortsUnderTheirNamesWithWhatTheSystemSaysOfThem)
{
    const auto entries = window::PortEntries(
        {{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyS0", ""}, {"/dev/ttyAMA0", "Raspberry Pi UART"}});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "COM33");
    EXPECT_EQ(entries[0].label, "COM33 : /dev/ttyUSB0, FT232R USB UART");
    EXPECT_EQ(entries[1].name, "COM1");
    EXPECT_EQ(entries[1].label, "COM1 : /dev/ttyS0");
    // Outside the COMn naming, by its path.
    EXPECT_EQ(entries[2].name, "/dev/ttyAMA0");
    EXPECT_EQ(entries[2].label, "/dev/ttyAMA0, Raspberry Pi UART");
}

TEST(CardChoice, APortThatCannotBeOpenedIsSaidAndTheSimulatedCardComesBack)
{
    banc::test::WindowFixture fixture;
    fixture.Prefer("niveaueau", "pid", 10);
    fixture.Open();
    window::CardDialog dialog(fixture.Bench(), {{"/dev/ttyUSB31", "FT232R USB UART"}}, &fixture.Window());
    dialog.show();
    // The list's line stands for its port's name.
    ASSERT_EQ(dialog.Ports()->count(), 1);
    EXPECT_EQ(dialog.Ports()->itemText(0).toStdString(), "COM64 : /dev/ttyUSB31, FT232R USB UART");
    dialog.Ports()->setCurrentIndex(0);
    emit dialog.Ports()->activated(0);
    EXPECT_EQ(dialog.Ports()->currentText().toStdString(), "COM64");
    dialog.OnPort()->setChecked(true);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Error().toStdString(), "Port COM64 (/dev/ttyUSB31) introuvable.");
    EXPECT_FALSE(fixture.Bench().Card().IsConnected());
    // A speed out of range is refused by the dialog; one within it brings the simulated card back.
    dialog.Embedded()->setChecked(true);
    dialog.Field(window::CardDialog::kSpeedField)->setText(QStringLiteral("2000"));
    dialog.accept();
    EXPECT_EQ(
        dialog.Error().toStdString(),
        "Vitesse de la carte simul\xC3\xA9" "e (fois le temps r\xC3\xA9" "el) : 2000 est hors limites (de 0,1 \xC3\xA0 1000).");
    dialog.Field(window::CardDialog::kSpeedField)->setText(QStringLiteral("20"));
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(SpinUntil([&] { return fixture.Bench().Card().State() == window::LinkState::Answering; }));
    tarvic::IniProfile profile(fixture.folder.File("tarvic-banc-fenetre.ini"));
    EXPECT_EQ(profile.GetProfileString("FENETRE", "CARTE", ""), "simulee");
    EXPECT_EQ(profile.GetProfileString("FENETRE", "VITESSE", ""), "20");
    EXPECT_EQ(profile.GetProfileString("FENETRE", "PORT", ""), "COM64");
}
