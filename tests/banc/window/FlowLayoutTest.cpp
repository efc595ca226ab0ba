#include <gtest/gtest.h>

#include <QWidget>

#include "WindowFixture.h"
#include "window/FlowLayout.h"

using banc::window::FlowLayout;

namespace {

// Widgets of fixed sizes in a flow of 6 pixels between them, with a gap of 20 after the second.
class FlowLayoutTest : public ::testing::Test {
protected:
    FlowLayoutTest()
    {
        auto* layout = new FlowLayout(&m_parent);
        for (const QSize size : {QSize(100, 40), QSize(80, 20), QSize(120, 30)}) {
            auto* widget = new QWidget(&m_parent);
            widget->setFixedSize(size);
            m_widgets.push_back(widget);
            layout->addWidget(widget);
            if (m_widgets.size() == 2) layout->AddGap(20);
        }
    }
    QRect Lay(int width)
    {
        m_parent.layout()->setGeometry(QRect(0, 0, width, m_parent.layout()->heightForWidth(width)));
        return QRect(0, 0, width, m_parent.layout()->heightForWidth(width));
    }

    QApplication& m_application = banc::test::Application();  // before any widget
    QWidget m_parent;
    std::vector<QWidget*> m_widgets;
};

}  // namespace

TEST_F(FlowLayoutTest, OnOneRowWhenWideEnoughEachCentredOnTheRowsHeight)
{
    // 100 + 6 + 80 + 6 + 20 + 6 + 120.
    EXPECT_EQ(m_parent.layout()->sizeHint(), QSize(338, 40));
    EXPECT_EQ(Lay(338).height(), 40);
    EXPECT_EQ(m_widgets[0]->geometry(), QRect(0, 0, 100, 40));
    EXPECT_EQ(m_widgets[1]->geometry(), QRect(106, 10, 80, 20));
    EXPECT_EQ(m_widgets[2]->geometry(), QRect(218, 5, 120, 30));
}

TEST_F(FlowLayoutTest, WrapsWhatPassesTheRightEdgeAndDropsAGapAtARowsStart)
{
    // The third does not fit after the gap: it starts the second row, without the gap.
    EXPECT_EQ(Lay(300).height(), 40 + 6 + 30);
    EXPECT_EQ(m_widgets[1]->geometry(), QRect(106, 10, 80, 20));
    EXPECT_EQ(m_widgets[2]->geometry(), QRect(0, 46, 120, 30));
    // One a row, as narrow as the widest.
    EXPECT_EQ(m_parent.layout()->minimumSize(), QSize(120, 40));
    EXPECT_EQ(Lay(120).height(), 40 + 6 + 20 + 6 + 30);
    EXPECT_EQ(m_widgets[1]->geometry(), QRect(0, 46, 80, 20));
    EXPECT_EQ(m_widgets[2]->geometry(), QRect(0, 72, 120, 30));
}
