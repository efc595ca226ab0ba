#pragma once

#include <string>
#include <vector>

#include <tarvic/platform/Geometry.h>

class CDC;

namespace banc::report {

// Free text on a page (Latin-1): a comment, a message, a table's cell. The
// formula renderer would drop what is not in its markup ("->", "!", ";"),
// so such texts are drawn as they are, in the renderer's serif face.
struct TextStyle {
    int size = 16;  // height in the page's units
    bool bold = false;
};

CSize TextExtent(CDC& dc, const std::string& text, TextStyle style);
void DrawText(CDC& dc, const std::string& text, CPoint at, TextStyle style);
// The text cut into lines no wider than `width`, between words (a word
// wider than the line is cut where it must); its own line feeds kept.
std::vector<std::string> WrapText(CDC& dc, const std::string& text, int width, TextStyle style);
// One line under the other, as far apart as the face makes them.
int LineHeight(CDC& dc, TextStyle style);

}  // namespace banc::report
