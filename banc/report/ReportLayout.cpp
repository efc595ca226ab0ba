#include "report/ReportLayout.h"

#include <algorithm>

namespace banc::report {

std::vector<Page> LayOut(const std::vector<Block>& blocks)
{
    std::vector<Page> pages(1);
    int y = 0;
    std::size_t i = 0;
    while (i < blocks.size()) {
        // A heading goes with the blocks it keeps with: the run of them is placed as one.
        std::size_t last = i;
        int height = blocks[i].height;
        while (blocks[last].keepWithNext && last + 1 < blocks.size()) {
            height += blocks[last].gapAfter + blocks[last + 1].height;
            ++last;
        }
        if (y + height > kPageHeight && !pages.back().empty()) {
            pages.emplace_back();
            y = 0;
        }
        for (; i <= last; ++i) {
            pages.back().push_back({&blocks[i], y});
            y += blocks[i].height + blocks[i].gapAfter;
        }
    }
    return pages;
}

}  // namespace banc::report
