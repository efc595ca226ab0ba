#include "window/HistoryRows.h"

#include <QStandardItem>

#include <limits>

#include "engine/model/Benches.h"
#include "engine/outputs/FigureText.h"
#include "window/Latin1.h"
#include "window/ModeLabel.h"

namespace banc::window {
namespace {

constexpr int kFigureDigits = 3;

QStandardItem* Cell(const QString& text, const QVariant& sortKey)
{
    auto* item = new QStandardItem(text);
    item->setData(sortKey, kSortRole);
    item->setEditable(false);
    return item;
}

QStandardItem* TextCell(const std::string& latin1) { return Cell(Q(latin1), Q(latin1)); }

// A figure the run did not establish shows nothing and sorts first.
QStandardItem* FigureCell(const std::optional<double>& value, const std::string& text)
{
    auto* item = Cell(value ? Q(text) : QString(), value ? *value : -std::numeric_limits<double>::infinity());
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// The mode as the window's choice names it; the stored name when the console no longer knows it.
std::string ModeTitle(const history::StoredRun& run)
{
    const Bench* bench = FindBench(run.bench);
    const Mode* mode = bench ? FindMode(*bench, run.mode) : nullptr;
    return mode ? ModeLabel(*mode) : run.mode;
}

}  // namespace

QStringList HistoryHeaders()
{
    return {Q("N\xB0"),         Q("Date"),           Q("Mode"),        Q("R\xE9glages"), Q("Issue"),
            Q("Valeur finale"), Q("D\xE9passement"), Q("Utilisateur"), Q("Commentaire")};
}

QList<QStandardItem*> HistoryRow(const history::StoredRun& run)
{
    QList<QStandardItem*> row;
    QStandardItem* number = Cell(QString::number(run.number), run.number);
    number->setData(run.number, Qt::UserRole);
    number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QStandardItem* settings = TextCell(run.summary);
    // The whole line, however narrow its column.
    settings->setToolTip(Q(run.summary));
    row << number << TextCell(run.startedAt) << TextCell(ModeTitle(run)) << settings;
    QStandardItem* outcome = TextCell(Capitalised(history::OutcomeWord(run.outcome)));
    // What stopped it, on demand.
    if (!run.outcomeText.empty()) outcome->setToolTip(Q(run.outcomeText));
    row << outcome;
    const std::string unit = run.measureUnit.empty() ? std::string() : " " + run.measureUnit;
    row << FigureCell(run.finalValue, run.finalValue ? SignificantText(*run.finalValue, kFigureDigits) + unit : "");
    row << FigureCell(run.overshootPct, run.overshootPct ? PercentText(*run.overshootPct) : "");
    row << TextCell(run.user);
    QStandardItem* comment = TextCell(run.comment);
    comment->setToolTip(Q(run.comment));
    row << comment;
    return row;
}

}  // namespace banc::window
