#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QWidget>

#include "ButtonTestSupport.h"
#include "tarvic/widgets/IconBouton.h"
#include "tarvic/widgets/IconButton.h"

namespace {

// Enabled, pushed and disabled icon buttons and the two states of an
// indicator button, painted by the widgets themselves.
class ButtonRow : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent.setPalette(tarvic::test::ButtonPalette());
        m_parent.setAutoFillBackground(true);
        m_parent.resize(470, 60);
        for (int i = 0; i < 3; ++i) {
            auto* button = new CIconButton("&Valider", &m_parent);
            button->setGeometry(10 + 120 * i, 10, 110, 40);
            button->SetIconID(101);
            button->SetIconSize(16, 16);
            button->SetHeight(18);
            button->SetFaceName("Arial");
            m_buttons[i] = button;
        }
        m_buttons[1]->setDown(true);
        m_buttons[2]->Disable();
        for (int i = 0; i < 2; ++i) {
            auto* indicator = new CIconBouton(&m_parent);
            indicator->setGeometry(380 + 42 * i, 13, 36, 34);
            indicator->SetIcon(101);
            indicator->SetEtat(i == 0);
        }
        m_image = m_parent.grab().toImage();
    }
    QRgb At(int x, int y) const { return m_image.pixel(x, y); }

    QWidget m_parent;
    CIconButton* m_buttons[3] = {};
    QImage m_image;
};

}  // namespace

TEST_F(ButtonRow, RendersEnabledPushedAndDisabled)
{
    ASSERT_TRUE(QDir().mkpath(TARVIC_TEST_OUT_DIR));
    EXPECT_TRUE(m_image.save(TARVIC_TEST_OUT_DIR "/iconbuttons.png"));

    // Icon 101 is a red-edged green square filling its 3..12 pixels.
    EXPECT_EQ(At(10 + 14, 10 + 20), qRgb(0, 160, 0));                // enabled icon, (6, 12) + 8
    EXPECT_EQ(At(130 + 15, 10 + 21), qRgb(0, 160, 0));               // pushed icon, one pixel further
    EXPECT_EQ(At(250 + 14, 10 + 20), qRgb(128, 128, 128));           // disabled icon in the shadow colour
    EXPECT_EQ(At(250 + 6 + 13, 10 + 12 + 13), qRgb(255, 255, 255));  // and its highlight, down-right
    EXPECT_EQ(At(10, 10), qRgb(255, 255, 255));                      // raised: lit top-left
    EXPECT_EQ(At(10 + 109, 10 + 39), qRgb(64, 64, 64));              // raised: dark bottom-right
    EXPECT_EQ(At(130, 10), qRgb(64, 64, 64));                        // sunken: dark top-left
    EXPECT_EQ(At(130 + 109, 10 + 39), qRgb(255, 255, 255));          // sunken: lit bottom-right
    EXPECT_EQ(At(381, 20), qRgb(255, 0, 0));                         // indicator set
    EXPECT_EQ(At(423, 20), qRgb(255, 255, 255));                     // indicator clear
    EXPECT_EQ(At(380 + 2 + 8, 13 + 1 + 8), qRgb(0, 160, 0));         // its icon, 32 x 32 at (2, 1)
}
