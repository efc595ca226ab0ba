#pragma once

#include <QObject>

#include <optional>
#include <string>
#include <vector>

#include "engine/lab/LabWork.h"
#include "engine/outputs/PlotImage.h"

namespace banc::window {

class Workbench;

// The lab work on the window's experiments: the open-loop run shown,
// identified, with every rule's suggestion; a suggestion applied to the
// closed loop, whose predicted response stays for the runs of that loop.
// The identification goes with the experiment shown; the prediction with
// another identification, or when the live mode is no longer that loop.
class LabSession : public QObject {
    Q_OBJECT

public:
    explicit LabSession(Workbench& workbench, QObject* parent = nullptr);

    // Whether the experiment shown is an open-loop run that went to its end (or
    // an archive), with blocks to identify.
    bool Identifiable();
    // Identifies it: "" with Result() set (a model, or the data's refusal), or
    // why there is nothing to identify (Latin-1).
    std::string Identify();
    const LabResult* Result() const { return m_result ? &*m_result : nullptr; }
    // Writes the suggestion `index` of the result into the closed loop's
    // controller and sends it to the card; "" or why not (Latin-1).
    std::string Apply(std::size_t index);
    // The model and methods over the run identified, and the predicted
    // response of the loop applied, beside them and over that loop's runs.
    std::vector<PlotOverlay> Overlays() const;

signals:
    void changed();
    // The identification went with the experiment it was of.
    void forgotten();

private:
    void Forget();
    // The prediction for the loop as its elements are set now.
    void Predict();

    Workbench& m_workbench;
    bool m_cut = false;  // the live run shown stopped before its end
    std::optional<LabResult> m_result;
    Settings m_identified;  // the run's
    std::vector<PlotOverlay> m_construction;
    // The loop a suggestion was applied to, and its model.
    const Mode* m_loop = nullptr;
    analysis::ProcessModel m_model;
    std::optional<PlotOverlay> m_prediction;
};

}  // namespace banc::window
