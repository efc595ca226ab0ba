#pragma once

#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace banc::report {

// A report's page in its own units: A4 inside margins of 15 mm, 800 units
// wide (0.225 mm each), 1186 high; the blocks stand in the first
// kPageHeight, the footer with the page's number under them.
inline constexpr int kPageWidth = 800;
inline constexpr int kSheetHeight = 1186;
inline constexpr int kPageHeight = 1140;
inline constexpr int kFooterTop = 1162;

// A piece of a report that is never cut between two pages: a heading, a
// drawing, a table's row, a paragraph's line.
struct Block {
    int height;
    // Paints it on the page's units, its top at `top`.
    std::function<void(QPainter& painter, int top)> draw;
    bool keepWithNext = false;  // a heading stays with what it heads
    int gapAfter = 0;
};

// A block's place on its page.
struct PlacedBlock {
    const Block* block;
    int top;
};
using Page = std::vector<PlacedBlock>;

// The blocks one under the other, on as many pages as they take; a block
// that does not fit goes to the next page, with the headings that go with it.
std::vector<Page> LayOut(const std::vector<Block>& blocks);

// A whole document: its blocks and its footer's words ("Essai 12").
struct Document {
    std::string title;  // Latin-1; the PDF's title too
    std::string footer;
    std::vector<Block> blocks;
};

}  // namespace banc::report
