#include "window/RecordingDialog.h"

#include <algorithm>

namespace banc::window {
namespace {

constexpr int kWaitingTime = 1001;  // the recording's period, ms
// The length: from one block at the shortest period to every block at the longest.
constexpr float kShortestSeconds = kPointsPerBlock * 10 / 1000.0f;
constexpr float kLongestSeconds = kMaxBlocks * kPointsPerBlock * 60.0f;

}  // namespace

RecordingDialog::RecordingDialog(Workbench& workbench, QWidget* parent)
    : SettingsDialog(QStringLiteral("Enregistrement"), workbench, parent)
{
    float seconds = 0;
    {
        std::lock_guard lock(workbench.Lock());
        CEnregistrement& recording = *workbench.LiveElements().recording;
        seconds = static_cast<float>(recording.LitParam(2)) * static_cast<float>(recording.LitTempsAttente()) / 1000.0f;
    }
    AddField(kDurationField, "Dur\xE9" "e de l'enregistrement, s (en blocs de 32 points)", seconds, kShortestSeconds,
             kLongestSeconds, 2, "s");
    for (const ParameterDef* def : ParametersOf(Role::Recording)) AddParameter(*def);
}

std::string RecordingDialog::Apply(const Values& values)
{
    const Values changed = Changed(values);
    if (changed.empty()) return {};
    return m_workbench.SetRecording(values.at(kDurationField), values.at(kWaitingTime));
}

}  // namespace banc::window
