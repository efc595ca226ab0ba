#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "support/GuiApplication.h"
#include "tarvic/platform/PainterDC.h"
#include "tarvic/recording/Equation.h"

// Renders a formula with an index, an exponent, a fraction and an integral
// through the painter, checks where the ink lies, and keeps the picture for
// a look (TARVIC_RENDER_DIR).
namespace {

constexpr int size = 28;
const CPoint origin(20, 60);
const std::string before = "H(p) = |e\\e-pt dt + K\\ip";  // the text ahead of the fraction's marker
const std::string numerator = "1 + T\\id p";
const std::string denominator = "T\\ii p";

bool IsInk(QRgb pixel) { return qGray(pixel) < 128; }

int InkInRow(const QImage& image, int y, int fromX, int toX)
{
    int count = 0;
    for (int x = fromX; x < toX; ++x) count += IsInk(image.pixel(x, y)) ? 1 : 0;
    return count;
}

}  // namespace

TEST(EquationRender, FormulaWithIndexExponentFractionAndIntegral)
{
    tarvic::test::RequireGuiApplication();
    QImage image(520, 130, QImage::Format_RGB32);
    image.fill(Qt::white);
    int prefixWidth = 0;
    int numeratorWidth = 0;
    int denominatorWidth = 0;
    {
        QPainter painter(&image);
        CPainterDC dc(painter);
        CEquation equation(before + " F{" + numerator + "}/{" + denominator + "}\n\\c2\\gBoucle ferm\xE9" "e", origin,
                           size);
        prefixWidth = equation.LongEquation(&dc, before + " ");
        numeratorWidth = equation.LongEquation(&dc, numerator);
        denominatorWidth = equation.LongEquation(&dc, denominator);
        equation.Draw(&dc, false);
    }
    image.save(QStringLiteral(TARVIC_RENDER_DIR "/equation.png"));

    // The bar spans the wider numerator, half a size below the line's top.
    const int barLeft = origin.x + prefixWidth;
    const int barWidth = std::max(numeratorWidth, denominatorWidth);
    ASSERT_GT(numeratorWidth, denominatorWidth);
    EXPECT_EQ(InkInRow(image, origin.y + size / 2, barLeft, barLeft + barWidth + 1), barWidth + 1);
    EXPECT_EQ(InkInRow(image, origin.y + size / 2, barLeft + barWidth + 2, barLeft + barWidth + 12), 0);

    // The integral, twice the size and raised, reaches above the line's top,
    // where no other glyph does.
    const int integralTop = origin.y - size / 2;
    EXPECT_GT(InkInRow(image, integralTop + 4, origin.x, barLeft), 0);
    EXPECT_EQ(InkInRow(image, origin.y - size, 0, image.width()), 0);

    // The second line is red and starts at the left again, one size lower.
    bool redOnSecondLine = false;
    for (int y = origin.y + size; y < origin.y + 2 * size; ++y)
        for (int x = origin.x; x < origin.x + 40; ++x)
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 80) redOnSecondLine = true;
    EXPECT_TRUE(redOnSecondLine);
}
