#pragma once

#include <gtest/gtest.h>

#include <tarvic/platform/RecordingDC.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

#include "WindowFixture.h"
#include "recording/RecordingSupport.h"
#include "window/PlotView.h"

namespace banc::test {

// The window on the water level bench, its recording filled by the test: two
// blocks of 32 points 500 ms apart, the command at 100 %, the setpoint at 50 %.
class RecordedPlot : public ::testing::Test {
protected:
    static constexpr int kCommandRow = 0, kMeasureRow = 7, kSetpointRow = 8;  // the water level bench's rows
    static constexpr float kFullScale = 3264;

    void SetUp() override
    {
        m_fixture.Prefer("niveaueau", "pid", 50);
        m_fixture.Open();
        ASSERT_EQ(m_fixture.Bench().SetRecording(32, 500), "");
    }
    // `measure(i)` in percent at point i.
    template <class Measure>
    void Record(Measure measure)
    {
        std::vector<tarvic::test::Valeurs> blocks(2);
        for (int i = 0; i < 64; ++i) {
            tarvic::test::Valeurs& block = blocks[static_cast<std::size_t>(i / 32)];
            const auto counts = [](float percent) { return static_cast<std::uint16_t>(percent * kFullScale / 100); };
            block[kCommandRow][i % 32] = counts(100);
            block[kSetpointRow][i % 32] = counts(50);
            block[kMeasureRow][i % 32] = counts(measure(i));
        }
        std::lock_guard lock(m_fixture.Bench().Lock());
        tarvic::test::Acquiert(*m_fixture.Bench().LiveElements().recording, blocks);
    }
    window::PlotView& Plot() { return *m_fixture.Window().Plot(); }
    // The plot drawn 1920 wide.
    void Draw(CRecordingDC& dc) { Plot().Render(dc, 1920); }
    static bool Line(const CRecordingDC& dc, CPoint from, CPoint to)
    {
        return std::any_of(dc.Calls().begin(), dc.Calls().end(), [&](const auto& call) {
            return call.op == "line" && call.points.size() == 2 && call.points[0] == from && call.points[1] == to;
        });
    }

    WindowFixture m_fixture;
};

}  // namespace banc::test
