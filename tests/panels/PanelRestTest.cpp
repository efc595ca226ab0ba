// A panel whose card keeps answering the same: the cycle polls, and the
// window is left as it is.
#include <map>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QWindow>

#include "PanelFixture.h"
#include "quillon/QuillonVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

// Counts the paint events of the indicators and of the text lines, by control id.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(CPanelDlg& panel)
    {
        for (QWidget* widget : panel.findChildren<QRadioButton*>()) Watch(widget);
        for (QWidget* widget : panel.findChildren<QLineEdit*>()) Watch(widget);
    }
    std::size_t m_watched = 0;
    std::map<int, int> m_paints;

protected:
    void Watch(QWidget* widget)
    {
        widget->installEventFilter(this);
        ++m_watched;
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++m_paints[watched->objectName().toInt()];
        return false;
    }
};

class PanelAtRest : public PanelFixture {
protected:
    // Identified, shown with the inputs of `lel` and painted whole once;
    // the paints are counted from then on.
    void OpenShown(const PanelVariant& variant, const std::string& lel)
    {
        Open(variant);
        Identify(" 2.1");
        Cycle(lel);
        m_panel->OnTimer();
        ASSERT_EQ(NextLine(), "?LEL\r\n");
        Reply(lel);
        m_paints = std::make_unique<PaintCounter>(*m_panel);
        m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
        m_panel->show();
        ASSERT_TRUE(Settles([&] { return m_paints->m_paints.size() == m_paints->m_watched; }));
        m_paints->m_paints.clear();
    }
    // One cycle: the poll goes out and the card answers it with `lel`.
    void Cycle(const std::string& lel)
    {
        m_panel->OnTimer();
        ASSERT_EQ(NextLine(), "?LEL\r\n");
        Reply(lel);
    }
    std::map<int, int> Paints() const { return m_paints->m_paints; }
    template <class Condition>
    static bool Settles(Condition condition)
    {
        return tarvic::test::WaitUntil([&] {
            QApplication::processEvents();
            return condition();
        });
    }

    std::unique_ptr<PaintCounter> m_paints;
};

TEST_F(PanelAtRest, RepaintsOnlyTheIndicatorWhoseInputChanged)
{
    OpenShown(VarnokVariant(), "!LEL1234 02\r\n");
    for (int cycle = 0; cycle < 3; ++cycle) Cycle("!LEL1634 02\r\n");
    // 0x12 to 0x16: bit 2 of the first input, "haut", lights; the state text stays.
    ASSERT_TRUE(Settles([&] { return Paints().count(1007) == 1; }));
    EXPECT_EQ(Paints(), (std::map<int, int>{{1007, 1}}));
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1006, 1007, 1009, 1015, 1017, 1018}));
    EXPECT_EQ(Text(1003), "POM: BD PH");
}

TEST_F(PanelAtRest, RedrawsTheStatusLineOnlyWhenItsTextChanges)
{
    OpenShown(QuillonVariant(), "!LEL0A0B0C\r\n");
    Cycle("!LEL0A0B0D\r\n");
    ASSERT_EQ(Text(1028), "LEL 0C 0B 0A");
    Cycle("!LEL0A0B0D\r\n");
    Cycle("!LEL0A0B0D\r\n");
    ASSERT_TRUE(Settles([&] { return Paints().count(1028) == 1; }));
    // 0x0C to 0x0D: bit 0 of the third input, "sb", lights.
    EXPECT_EQ(Paints(), (std::map<int, int>{{1016, 1}, {1028, 1}}));
    EXPECT_EQ(Text(1028), "LEL 0D 0B 0A");
}

TEST_F(PanelAtRest, AnIndicatorClickedIsSetBackAtTheNextCycleThoughNoInputChanged)
{
    Open(VarnokVariant());
    Identify(" 2.1");
    Cycle("!LEL1234 02\r\n");
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    ASSERT_EQ(CheckedIndicators(), (std::set<int>{1006, 1009, 1015, 1017, 1018}));
    Control(1007)->click();
    Control(1006)->click();
    ASSERT_EQ(CheckedIndicators(), (std::set<int>{1007, 1009, 1015, 1017, 1018}));
    Reply("!LEL1234 02\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1006, 1009, 1015, 1017, 1018}));
}

TEST_F(PanelAtRest, KeepsOneTimerRunningAtTheCyclePeriod)
{
    Open(VarnokVariant()).StartTimer();
    const int timerId = m_panel->Timer1().timerId();
    for (int cycle = 0; cycle < 3; ++cycle) m_panel->OnTimer();
    EXPECT_TRUE(m_panel->Timer1().isActive());
    EXPECT_FALSE(m_panel->Timer1().isSingleShot());
    EXPECT_EQ(m_panel->Timer1().interval(), 1000);
    EXPECT_EQ(m_panel->Timer1().timerId(), timerId);
}

}  // namespace
