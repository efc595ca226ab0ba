#include "window/HistoryPane.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "window/HistoryBase.h"
#include "window/HistoryRows.h"
#include "window/Latin1.h"
#include "window/Prompts.h"

namespace banc::window {
namespace {

// A long line of settings or a comment does not push the figures out of sight: its tip has it whole.
constexpr int kWidestText = 260;

// "12, 13 et 15".
std::string NumbersText(const std::vector<long long>& numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += i + 1 == numbers.size() ? " et " : ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string RemovalQuestion(const std::vector<long long>& numbers)
{
    if (numbers.size() == 1)
        return tarvic::Format("Supprimer l'essai %lld de l'historique ? Il ne pourra pas \xEAtre r\xE9" "cup\xE9r\xE9.",
                              numbers.front());
    return tarvic::Format(
        "Supprimer les %zu essais %s de l'historique ? Ils ne pourront pas \xEAtre r\xE9" "cup\xE9r\xE9s.",
        numbers.size(), NumbersText(numbers).c_str());
}

}  // namespace

HistoryPane::HistoryPane(HistoryBase& history, Prompts& prompts, QWidget* parent)
    : QWidget(parent), m_history(history), m_prompts(prompts), m_model(new QStandardItemModel(this)),
      m_proxy(new QSortFilterProxyModel(this)), m_table(new QTableView(this)), m_filter(new QLineEdit(this)),
      m_message(new QLabel(this)), m_open(MakeAction("&Ouvrir", "ouvrir")),
      m_comment(MakeAction("&Commenter...", "commenter")), m_remove(MakeAction("&Supprimer...", "supprimer"))
{
    m_filter->setObjectName(QStringLiteral("filtre"));
    m_filter->setPlaceholderText(Q("Filtrer : mode, r\xE9glages, issue, commentaire..."));
    m_filter->setClearButtonEnabled(true);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(kSortRole);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    connect(m_filter, &QLineEdit::textChanged, m_proxy, &QSortFilterProxyModel::setFilterFixedString);

    m_table->setObjectName(QStringLiteral("essais"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(kRunNumber, Qt::DescendingOrder);
    m_table->setAlternatingRowColors(true);
    // One line a run: a long cell is cut, its tip has it whole.
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_table->addActions({m_open, m_comment, m_remove});
    m_model->setHorizontalHeaderLabels(HistoryHeaders());
    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit openAsked(NumberAt(index.row())); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        UpdateActions();
        emit selectionChanged();
    });
    m_open->setShortcut(Qt::Key_Return);
    m_remove->setShortcut(QKeySequence::Delete);
    connect(m_open, &QAction::triggered, this, [this] {
        if (const std::vector<long long> selected = Selected(); selected.size() == 1) emit openAsked(selected.front());
    });
    connect(m_comment, &QAction::triggered, this, &HistoryPane::CommentSelected);
    connect(m_remove, &QAction::triggered, this, &HistoryPane::RemoveSelected);
    connect(&m_history, &HistoryBase::changed, this, &HistoryPane::Reload);

    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    for (QAction* action : {m_open, m_comment, m_remove}) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    UpdateActions();
    ShowMessage();
}

QAction* HistoryPane::MakeAction(const char* caption, const char* name)
{
    auto* action = new QAction(Q(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    // The keys are the table's: Delete in the filter's text deletes a letter.
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
}

void HistoryPane::ShowBench(const std::string& bench)
{
    if (bench == m_bench) return;
    m_bench = bench;
    Reload();
}

long long HistoryPane::NumberAt(int proxyRow) const
{
    return m_proxy->index(proxyRow, kRunNumber).data(Qt::UserRole).toLongLong();
}

std::vector<long long> HistoryPane::Selected() const
{
    std::vector<long long> numbers;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows(kRunNumber))
        numbers.push_back(index.data(Qt::UserRole).toLongLong());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void HistoryPane::Select(const std::vector<long long>& numbers)
{
    QItemSelection selection;
    for (int row = 0; row < m_proxy->rowCount(); ++row)
        if (std::find(numbers.begin(), numbers.end(), NumberAt(row)) != numbers.end())
            selection.select(m_proxy->index(row, 0), m_proxy->index(row, kRunColumns - 1));
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void HistoryPane::Reload()
{
    const std::vector<long long> selected = Selected();
    std::vector<history::StoredRun> runs;
    const std::string error = m_history.List(m_bench, runs);
    m_error = error.empty() ? QString() : Q("Historique indisponible : " + error);
    {
        // One change of the selection for the whole reading, told once below.
        const QSignalBlocker blocker(m_table->selectionModel());
        m_model->removeRows(0, m_model->rowCount());
        for (const history::StoredRun& run : runs) m_model->appendRow(HistoryRow(run));
        Select(selected);
    }
    m_table->resizeColumnsToContents();
    for (const int column : {kRunSettings, kRunComment})
        m_table->setColumnWidth(column, std::min(m_table->columnWidth(column), kWidestText));
    UpdateActions();
    ShowMessage();
    if (Selected() != selected) emit selectionChanged();
}

void HistoryPane::SetNote(const QString& note)
{
    m_note = note;
    ShowMessage();
}

void HistoryPane::ShowMessage()
{
    const QString& text = m_error.isEmpty() ? m_note : m_error;
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void HistoryPane::UpdateActions()
{
    const std::size_t selected = Selected().size();
    m_open->setEnabled(selected == 1);
    m_comment->setEnabled(selected == 1);
    m_remove->setEnabled(selected >= 1);
}

void HistoryPane::CommentSelected()
{
    const std::vector<long long> selected = Selected();
    if (selected.size() != 1) return;
    const long long number = selected.front();
    std::string comment;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->item(row, kRunNumber)->data(Qt::UserRole).toLongLong() == number)
            comment = Latin1(m_model->item(row, kRunComment)->text());
    if (!m_prompts.AskComment(this, tarvic::Format("Commentaire de l'essai %lld", number), comment)) return;
    if (std::string error = m_history.SetComment(number, comment); !error.empty()) {
        m_prompts.Warn(this, error);
        return;
    }
    emit notice(Q(tarvic::Format("Commentaire de l'essai %lld enregistr\xE9.", number)));
}

void HistoryPane::RemoveSelected()
{
    const std::vector<long long> selected = Selected();
    if (selected.empty() || !m_prompts.ConfirmRemoval(this, RemovalQuestion(selected))) return;
    std::vector<long long> removed;
    for (const long long number : selected) {
        history::StoredRun run;
        if (std::string error = m_history.Remove(number, run); !error.empty()) {
            m_prompts.Warn(this, error);
            break;
        }
        removed.push_back(number);
    }
    if (removed.size() == 1)
        emit notice(Q(tarvic::Format("Essai %lld supprim\xE9 de l'historique.", removed.front())));
    else if (!removed.empty())
        emit notice(Q(tarvic::Format("Essais %s supprim\xE9s de l'historique.", NumbersText(removed).c_str())));
}

}  // namespace banc::window
