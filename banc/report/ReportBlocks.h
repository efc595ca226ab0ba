#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/outputs/LabText.h"
#include "report/ReportLayout.h"
#include "report/ReportText.h"

class CDC;

namespace banc::report {

inline constexpr TextStyle kBodyStyle{17, false};
inline constexpr TextStyle kTitleStyle{28, true};
inline constexpr int kSectionGap = 18;  // before a section's heading

// The blocks of a report, in order; `measure` sizes their texts as the page will.
class BlockList {
public:
    explicit BlockList(CDC& measure) : m_measure(measure) {}

    // A section's heading, kept with the block after it.
    void Heading(const std::string& text);
    // Lines of free text, wrapped to the page's width, a block each.
    void Paragraph(const std::string& text, TextStyle style = kBodyStyle, int indent = 0);
    // Label and value rows: the labels in bold, the values in a column after the widest.
    void Fields(const std::vector<std::pair<std::string, std::string>>& fields);
    // A description in the display markup, drawn by the formula renderer as the synoptic draws it.
    void Markup(const std::string& markup, int size, int indent = 0);
    // A table, a row a block under its header, its face made smaller until it fits the page.
    void Table(const TextTable& table);
    // A drawing made at `width` x `height` in its own units, scaled by `scale`, centred.
    void Drawing(int width, int height, double scale, std::function<void(CDC& dc)> draw);

    std::vector<Block> Take() { return std::move(m_blocks); }

private:
    CDC& m_measure;
    std::vector<Block> m_blocks;
};

}  // namespace banc::report
