#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "tarvic/platform/PainterDC.h"
#include "tarvic/widgets/BoiteFonction.h"
#include "tarvic/widgets/Bouton.h"
#include "tarvic/widgets/CteTemps.h"
#include "tarvic/widgets/Dep1.h"
#include "tarvic/widgets/Inter.h"
#include "tarvic/widgets/Sonde.h"
#include "tarvic/widgets/Tempscp.h"
#include "tarvic/widgets/indeBoite.h"
#include "tarvic/widgets/mesure.h"

namespace {

// A small process view with every kind of element, and plot annotations
// below it, painted as a controlling application would on repaint.
class ProcessView : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto lit = std::make_unique<CMesure>(1, 60, 110, "M1", "", 0);
        lit->EEtat(true);
        m_elements.push_back(std::move(lit));
        m_elements.push_back(std::make_unique<CMesure>(2, 60, 190, "M2", "", 0));
        m_elements.push_back(std::make_unique<CBoiteFonction>(3, 120, 80, 220, 130, "PID"));
        auto closed = std::make_unique<CInter>(4, 0, 260, 110);
        closed->EEtat(true);
        m_elements.push_back(std::move(closed));
        m_elements.push_back(std::make_unique<CInter>(5, 1, 300, 110));
        auto up = std::make_unique<CInter>(6, 2, 350, 110);
        up->Test({355, 93});
        m_elements.push_back(std::move(up));
        auto selector = std::make_unique<CInter>(7, 3, 390, 110);
        selector->Test({405, 110});
        m_elements.push_back(std::move(selector));
        auto probe = std::make_unique<CSonde>(8, CPoint(470, 90), "T", 0);
        probe->MisAJour(std::string("21.5"));
        m_elements.push_back(std::move(probe));
        m_elements.push_back(std::make_unique<CSonde>(9, 560, 120, "S", 0));
        m_elements.push_back(std::make_unique<CSonde>(CPoint(68, 190), CPoint(120, 320), "K\\ip\\n=2\nT\\ii\\n=5 s"));
        m_elements.push_back(std::make_unique<CSonde>(CPoint(520, 250), CPoint(470, 260), "Q=3"));
        auto button = std::make_unique<CBouton>(10, 120, 230, 200, 260, "Marche", "", 0);
        button->SetEtat(true);
        m_elements.push_back(std::move(button));
        m_elements.push_back(std::make_unique<CBouton>(11, 220, 230, 300, 260, "Arr\xEAt", "", 0));
        auto indicator = std::make_unique<CIndeBoite>(12, 340, 200, "L", 0);
        indicator->MisAJour("12.5");
        m_elements.push_back(std::move(indicator));
        m_elements.push_back(std::make_unique<CIndeBoite>(253, 420, 200, "L", 0));
        m_elements.push_back(std::make_unique<CCteTemps>(CPoint(60, 400), "\\gT=1.5 s"));
        m_elements.push_back(
            std::make_unique<CTempscp>(CPoint(220, 400), "t\\ir\\n=2.1 s", 640, 600, 590, 610, 560, 710));
        m_elements.push_back(std::make_unique<CDep1>(CPoint(380, 400), "D=12 %", 600, 680, 560, 590, 690));

        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        CPainterDC dc(painter);
        for (const auto& element : m_elements) element->Draw(&dc);
    }

    QRgb At(int x, int y) const { return m_image.pixel(x, y); }
    bool HasInk(const QRect& area) const
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (m_image.pixel(x, y) != qRgb(255, 255, 255)) return true;
        return false;
    }

    std::vector<std::unique_ptr<CElement>> m_elements;
    QImage m_image{720, 700, QImage::Format_RGB32};
};

}  // namespace

TEST_F(ProcessView, RendersEveryElement)
{
    ASSERT_TRUE(QDir().mkpath(TARVIC_TEST_OUT_DIR));
    EXPECT_TRUE(m_image.save(TARVIC_TEST_OUT_DIR "/synoptic.png"));

    EXPECT_EQ(At(60, 110), qRgb(0, 255, 0));       // lit dot
    EXPECT_EQ(At(60, 190), qRgb(255, 255, 255));   // unlit ring is empty
    EXPECT_EQ(At(60, 182), qRgb(0, 0, 0));         // its ring
    EXPECT_EQ(At(221, 110), qRgb(0, 0, 0));        // block shadow
    EXPECT_EQ(At(170, 105), qRgb(255, 255, 255));  // block face
    EXPECT_EQ(At(391, 120), qRgb(255, 217, 255));  // switch background
    EXPECT_EQ(At(125, 255), qRgb(255, 0, 0));      // active button
    EXPECT_EQ(At(225, 255), qRgb(255, 255, 255));  // idle button
    EXPECT_EQ(At(370, 230), qRgb(0, 0, 0));        // indicator arrow
    EXPECT_EQ(At(450, 230), qRgb(255, 255, 255));  // box 253 has none
    EXPECT_EQ(At(640, 300), qRgb(0, 0, 0));        // response-time column
    EXPECT_TRUE(HasInk(QRect(342, 202, 56, 16)));  // indicator value
    EXPECT_TRUE(HasInk(QRect(122, 302, 40, 36)));  // callout text
}
