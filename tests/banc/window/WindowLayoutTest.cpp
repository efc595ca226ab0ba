#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <tarvic/platform/FontMap.h>
#include <tarvic/platform/RecordingDC.h>

#include <algorithm>

#include "WindowFixture.h"
#include "engine/model/Settings.h"
#include "window/PlotView.h"
#include "window/RunStatus.h"
#include "window/SynopticView.h"

using namespace banc;
using banc::test::SpinUntil;

namespace {

// A projector's screen, or a small laptop's.
constexpr int kScreenWidth = 1280, kScreenHeight = 720;

class WindowLayout : public ::testing::Test {
protected:
    window::BenchWindow& OpenSmall(const char* bench, const char* mode)
    {
        m_fixture.Prefer(bench, mode, 50);
        window::BenchWindow& window = m_fixture.Open();
        window.resize(kScreenWidth, kScreenHeight);
        QApplication::processEvents();
        return window;
    }
    // Each visible widget that lies, even in part, outside the window, by its name or class.
    static std::vector<std::string> Outside(QWidget& window)
    {
        std::vector<std::string> outside;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->isWindow()) continue;
            const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
            if (!window.rect().contains(area))
                outside.push_back((widget->objectName().isEmpty()
                                       ? QString::fromLatin1(widget->metaObject()->className())
                                       : widget->objectName())
                                      .toStdString());
        }
        return outside;
    }
    // Each visible button or choice narrower or lower than its own text needs (those given a fixed size
    // measured it themselves).
    static std::vector<std::string> Squeezed(QWidget& window)
    {
        std::vector<std::string> squeezed;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisible() || !(qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget)) ||
                widget->minimumSize() == widget->maximumSize())
                continue;
            const QSize needed = widget->minimumSizeHint();
            if (widget->width() < needed.width() || widget->height() < needed.height())
                squeezed.push_back(widget->objectName().toStdString());
        }
        return squeezed;
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowLayout, EveryBenchFitsA1280By720ScreenWithNothingOutsideTheWindow)
{
    window::BenchWindow& window = OpenSmall("niveaueau", "pid");
    for (int bench = 0; bench < window.BenchChoice()->count(); ++bench) {
        SCOPED_TRACE(Benches()[static_cast<std::size_t>(bench)].name);
        window.BenchChoice()->setCurrentIndex(bench);
        emit window.BenchChoice()->activated(bench);
        QApplication::processEvents();
        EXPECT_LE(window.minimumSizeHint().width(), kScreenWidth);
        EXPECT_LE(window.minimumSizeHint().height(), kScreenHeight);
        EXPECT_LE(window.minimumWidth(), kScreenWidth);
        EXPECT_EQ(window.size(), QSize(kScreenWidth, kScreenHeight));
        EXPECT_EQ(Outside(window), std::vector<std::string>{});
        EXPECT_EQ(Squeezed(window), std::vector<std::string>{});
        // The synoptic and the plot share the width; the plot keeps most of the height.
        EXPECT_GE(window.Synoptic()->width(), 300);
        EXPECT_GE(window.Plot()->width(), 700);
        EXPECT_GE(window.Plot()->height(), 480);
    }
}

TEST_F(WindowLayout, ALongNoticeIsCutInTheStatusBarAndWholeInItsTip)
{
    window::BenchWindow& window = OpenSmall("niveaueau", "pid");
    const QString notice = QString::fromUtf8("La carte ne r\u00e9pond plus : ") + QString(300, QChar('x'));
    window.Status()->ShowNotice(notice);
    QApplication::processEvents();
    EXPECT_LE(window.minimumSizeHint().width(), kScreenWidth);
    EXPECT_EQ(window.size(), QSize(kScreenWidth, kScreenHeight));
    EXPECT_EQ(Outside(window), std::vector<std::string>{});
    EXPECT_EQ(window.Status()->NoticeText(), notice);
    const auto labels = window.Status()->findChildren<QLabel*>();
    const auto shown =
        std::find_if(labels.begin(), labels.end(), [&](QLabel* label) { return label->text() == notice; });
    ASSERT_NE(shown, labels.end());
    EXPECT_EQ((*shown)->toolTip(), notice);
}

TEST_F(WindowLayout, ThePlotsTextsAreAtLeastTenPointsOnA1280By720Screen)
{
    window::BenchWindow& window = OpenSmall("axnum", "position");
    window::PlotView& plot = *window.Plot();
    const double scale = plot.Scale();
    ASSERT_LT(scale, 1);
    CRecordingDC dc;
    plot.Render(dc, plot.LogicalWidth(), scale);
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    int texts = 0;
    for (const auto& call : dc.Calls()) {
        if (call.op != "text" || call.text.find_first_not_of(' ') == std::string::npos) continue;
        ++texts;
        // The em on the screen, in points.
        const double points = tarvic::QFontFromLogFont(call.font).pixelSize() * scale * 72 / dpi;
        EXPECT_GE(points, 10) << call.text;
        // Whole inside the drawing.
        EXPECT_LE(call.points.front().y + call.font.lfHeight, window::PlotView::kHeight) << call.text;
    }
    // The value labels (11), the time labels (11), the units, the title, the legend, the descriptions.
    EXPECT_GE(texts, 26);
}
