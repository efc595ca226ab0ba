#include "report/ReportBlocks.h"

#include <QPainter>

#include <tarvic/platform/PainterDC.h>
#include <tarvic/recording/Equation.h>

#include <algorithm>
#include <cmath>

namespace banc::report {
namespace {

constexpr TextStyle kHeadingStyle{22, true};
constexpr int kHeadingGap = 6;    // between a heading and its first block
constexpr int kFieldGap = 16;     // between the labels' column and the values'
constexpr int kCellPadding = 12;  // between two columns of a table
constexpr int kRowPadding = 4;
constexpr int kSmallestTableSize = 10;

// Draws on a device context whose origin is the page's (x, y).
void OnPage(QPainter& painter, int x, int y, const std::function<void(CDC&)>& draw)
{
    painter.save();
    painter.translate(x, y);
    {
        CPainterDC dc(painter);
        draw(dc);
    }
    painter.restore();
}

int LineCount(const std::string& text) { return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

void BlockList::Heading(const std::string& text)
{
    const int height = LineHeight(m_measure, kHeadingStyle);
    // The gap above it is part of it, except at the top of the report.
    const int above = m_blocks.empty() ? 0 : kSectionGap;
    m_blocks.push_back({above + height,
                        [text, above](QPainter& painter, int top) {
                            OnPage(painter, 0, top + above,
                                   [&](CDC& dc) { DrawText(dc, text, CPoint(0, 0), kHeadingStyle); });
                        },
                        true, kHeadingGap});
}

void BlockList::Paragraph(const std::string& text, TextStyle style, int indent)
{
    const int height = LineHeight(m_measure, style);
    for (const std::string& line : WrapText(m_measure, text, kPageWidth - indent, style))
        m_blocks.push_back({height, [line, style, indent](QPainter& painter, int top) {
                                OnPage(painter, indent, top, [&](CDC& dc) { DrawText(dc, line, CPoint(0, 0), style); });
                            }});
}

void BlockList::Fields(const std::vector<std::pair<std::string, std::string>>& fields)
{
    const TextStyle label{kBodyStyle.size, true};
    int column = 0;
    for (const auto& field : fields) column = std::max(column, TextExtent(m_measure, field.first, label).cx);
    column += kFieldGap;
    const int height = LineHeight(m_measure, kBodyStyle);
    for (const auto& [name, value] : fields) {
        const std::vector<std::string> lines = WrapText(m_measure, value, kPageWidth - column, kBodyStyle);
        for (std::size_t i = 0; i < lines.size(); ++i)
            m_blocks.push_back(
                {height,
                 [name = i == 0 ? name : std::string(), line = lines[i], label, column](QPainter& painter, int top) {
                     OnPage(painter, 0, top, [&](CDC& dc) {
                         DrawText(dc, name, CPoint(0, 0), label);
                         DrawText(dc, line, CPoint(column, 0), kBodyStyle);
                     });
                 },
                 i + 1 < lines.size()});
    }
}

void BlockList::Markup(const std::string& markup, int size, int indent)
{
    // The renderer moves down by its size at each line feed; a last line feed opens no line.
    const int lines = LineCount(markup) - (!markup.empty() && markup.back() == '\n' ? 1 : 0);
    m_blocks.push_back({lines * size + size / 3, [markup, size, indent](QPainter& painter, int top) {
                            OnPage(painter, indent, top,
                                   [&](CDC& dc) { CEquation(markup, CPoint(0, 0), size).Draw(&dc, false); });
                        }});
}

void BlockList::Table(const TextTable& table)
{
    const std::size_t columns = table.header.size();
    TextStyle style = kBodyStyle;
    std::vector<int> widths;
    // The widest cell of each column sets it; a smaller face when the page is too narrow for them.
    for (;; --style.size) {
        widths.assign(columns, 0);
        const auto measure = [&](const std::vector<std::string>& row, bool bold) {
            for (std::size_t c = 0; c < columns && c < row.size(); ++c)
                widths[c] = std::max(widths[c], TextExtent(m_measure, row[c], {style.size, bold}).cx + kCellPadding);
        };
        measure(table.header, true);
        for (const auto& row : table.rows) measure(row, false);
        int total = 0;
        for (int width : widths) total += width;
        if (total <= kPageWidth || style.size <= kSmallestTableSize) break;
    }
    const int height = LineHeight(m_measure, style) + 2 * kRowPadding;
    const auto row = [&](const std::vector<std::string>& cells, bool header) {
        m_blocks.push_back({height,
                            [cells, header, style, widths](QPainter& painter, int top) {
                                OnPage(painter, 0, top, [&](CDC& dc) {
                                    int x = 0;
                                    for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
                                        DrawText(dc, cells[c], CPoint(x, kRowPadding), {style.size, header});
                                        x += widths[c];
                                    }
                                    // A rule under the header, a fainter one under each row.
                                    CPen rule(PS_SOLID, 1, header ? RGB(0, 0, 0) : RGB(160, 160, 160));
                                    CPen* previous = dc.SelectObject(&rule);
                                    dc.MoveTo(0, 0 + LineHeight(dc, style) + 2 * kRowPadding - 1);
                                    dc.LineTo(x, 0 + LineHeight(dc, style) + 2 * kRowPadding - 1);
                                    dc.SelectObject(previous);
                                });
                            },
                            header});
    };
    row(table.header, true);
    for (const auto& cells : table.rows) row(cells, false);
}

void BlockList::Drawing(int width, int height, double scale, std::function<void(CDC& dc)> draw)
{
    const int shown = static_cast<int>(std::lround(height * scale));
    const int left = static_cast<int>(std::lround((kPageWidth - width * scale) / 2));
    m_blocks.push_back({shown, [draw = std::move(draw), scale, left](QPainter& painter, int top) {
                            painter.save();
                            painter.translate(left, top);
                            painter.scale(scale, scale);
                            {
                                CPainterDC dc(painter);
                                draw(dc);
                            }
                            painter.restore();
                        }});
}

}  // namespace banc::report
