#pragma once

#include <QWidget>

#include <optional>

#include "engine/outputs/BodePlot.h"

class CDC;

namespace banc::window {

// The Bode diagram of the last sweep, drawn as the command line draws its
// picture, over the widget's width; empty, it says how to get one.
class BodeView : public QWidget {
    Q_OBJECT

public:
    // The logical height it is drawn in, the picture's.
    static constexpr int kHeight = kBodeImageFrame.height;

    explicit BodeView(QWidget* parent = nullptr);

    void Show(BodeContent content);
    bool HasDiagram() const { return m_content.has_value(); }
    const BodeContent* Content() const { return m_content ? &*m_content : nullptr; }

    // Draws on a device context `logicalWidth` wide and kHeight high, shown
    // at `scale` device pixels a logical one: its texts stay readable there.
    void Render(CDC& dc, int logicalWidth, double scale = 1);
    double Scale() const;
    int LogicalWidth() const;
    // What the last drawing used.
    const BodeFrame& Frame() const { return m_frame; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<BodeContent> m_content;
    BodeFrame m_frame = kBodeImageFrame;
};

// Writes the diagram as the tab shows it, at its logical size; "" or why not (Latin-1).
std::string SaveBodePicture(BodeView& view, const std::string& path);

}  // namespace banc::window
