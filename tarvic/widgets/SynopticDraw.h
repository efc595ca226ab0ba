#pragma once

#include <initializer_list>
#include <string>

#include "tarvic/platform/DC.h"

// Geometry and captions shared by the synoptic elements.
namespace tarvic {

struct Segment {
    CPoint from;
    CPoint to;
};

// The rectangle of the given size with its top-left corner at the point.
CRect BoxAt(CPoint corner, int width, int height);
CPoint CentreOf(const CRect& rect);

// Writes markup text in black through the equation renderer.
void DrawCaption(CDC& dc, const std::string& text, CPoint at, int size);
void DrawSegment(CDC& dc, const Segment& segment);
// The rectangle with the current pen and brush, and the text 2 units inside.
void DrawValueBox(CDC& dc, const CRect& rect, const std::string& text, int size);

// Result annotations of the plots: their markers span the plot area, whose
// top and bottom rows are fixed.
Segment PlotColumn(int x);
Segment PlotRow(int y, int fromX, int toX);
// The box in black with its title and text, then the markers.
void DrawAnnotation(CDC& dc, const CRect& rect, const std::string& title, const std::string& text,
                    std::initializer_list<Segment> markers);

}  // namespace tarvic
