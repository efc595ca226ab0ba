#pragma once

#include <QListWidget>

#include <mutex>
#include <set>
#include <vector>

#include "engine/model/Settings.h"
#include "engine/outputs/PlotImage.h"

namespace banc {
struct Elements;
}

namespace banc::window {

// The curves the plot can show, each with its colour, checked when shown.
// The recording's own selection follows (SetPoint), in the order the curves
// were checked: the cursor snaps to them in that order. One curve at least
// stays shown: an empty selection would send a recording under way back to
// its first block.
class CurveList : public QListWidget {
    Q_OBJECT

public:
    CurveList(std::mutex& lock, QWidget* parent = nullptr);

    // The catalog of this experiment. The curves shown before stay shown when
    // it is the same bench and mode's (made again); another bench or mode
    // starts from the first curves of its catalog.
    void Rebuild(const Settings& settings, Elements& elements);
    // The next experiment starts from the first curves of its catalog.
    void Forget();
    // The curves shown, in the recording's order.
    std::vector<PlotCurve> Shown() const;
    void SetShown(int code, bool shown);

signals:
    void shownChanged();

private:
    void OnChanged(QListWidgetItem* item);

    std::mutex& m_lock;
    CEnregistrement* m_recording = nullptr;
    std::vector<PlotCurve> m_catalog;
    std::vector<int> m_order;        // the codes shown, in the recording's selection order
    const Bench* m_bench = nullptr;  // of the catalog
    const Mode* m_mode = nullptr;
    bool m_filling = false;
};

}  // namespace banc::window
