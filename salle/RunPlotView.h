#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "engine/outputs/RecordingArchive.h"

class CDC;

namespace salle {

// A run's curves from its archive, drawn by the console's own plot (the
// library's axes and formula renderer), scaled to the widget.
class RunPlotView : public QWidget {
public:
    explicit RunPlotView(QWidget* parent = nullptr);

    // "" or why the archive cannot be read (Latin-1): then nothing is drawn.
    std::string Load(const std::string& archive, const std::string& name);
    bool Loaded() const { return m_loaded != nullptr; }
    // The plot on a kImageFrame surface.
    void Draw(CDC& dc) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<banc::LoadedExperiment> m_loaded;
};

}  // namespace salle
