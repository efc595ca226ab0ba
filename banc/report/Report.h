#pragma once

#include <string>
#include <vector>

#include "engine/outputs/Comparison.h"
#include "report/ReportLayout.h"

class CDC;
class QPagedPaintDevice;

namespace banc::report {

// The plot's frame on a run's page: as wide as the page, no descriptions under
// it (the report prints them in their own section).
inline constexpr PlotFrame kRunPlotFrame{kPageWidth, 480, 70, 730, 50, 400};

// The lab report of one run: its title block (bench, mode, date, user, host,
// card, outcome), the bench's synoptic, the plot, the step figures, each
// element's description in its display markup, the identification and
// tuning tables its results hold, and its comment. A run not kept in the
// history has the number 0. `measure` sizes the texts as the page will.
Document RunDocument(CDC& measure, const history::StoredRun& stored, const Settings& settings, Elements& elements);
// The report of runs compared: who and what each run was, their overlay and
// their figures side by side. The runs must not be refused (ComparisonRefusal).
Document ComparisonDocument(CDC& measure, const std::vector<ComparedRun>& runs);

// As an A4 PDF: "" or why not (Latin-1). Needs a QGuiApplication.
std::string WriteRunReport(const std::string& path, const history::StoredRun& stored, const Settings& settings,
                           Elements& elements);
std::string WriteComparisonReport(const std::string& path, const std::vector<ComparedRun>& runs);
// On a printer or any paged device, as the PDF would be.
std::string PrintRunReport(QPagedPaintDevice& device, const history::StoredRun& stored, const Settings& settings,
                           Elements& elements);
std::string PrintComparisonReport(QPagedPaintDevice& device, const std::vector<ComparedRun>& runs);

}  // namespace banc::report
