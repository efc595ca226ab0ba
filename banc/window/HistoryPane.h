#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace banc::window {

class HistoryBase;
class Prompts;

// The Historique pane: the runs kept of the bench shown, newest first,
// sorted by a click on a column's header and filtered by a text found in
// any column. A double-click opens a run; several selected are overlaid
// on the plot; the selected runs are commented and removed, removal after
// the desktop's confirmation. A base that cannot be opened is said here,
// in place of the runs.
class HistoryPane : public QWidget {
    Q_OBJECT

public:
    HistoryPane(HistoryBase& history, Prompts& prompts, QWidget* parent = nullptr);

    // The runs of the bench named (its command-line name).
    void ShowBench(const std::string& bench);
    // The runs selected, in the order of their numbers.
    std::vector<long long> Selected() const;
    void Select(const std::vector<long long>& numbers);
    // Says something of the runs selected (an overlay refused...), or nothing for "".
    void SetNote(const QString& note);

    QTableView* Table() const { return m_table; }
    QLineEdit* Filter() const { return m_filter; }
    // Why the base cannot be used, or the note; hidden when there is none.
    QLabel* Message() const { return m_message; }
    QAction* OpenAction() const { return m_open; }
    QAction* CommentAction() const { return m_comment; }
    QAction* RemoveAction() const { return m_remove; }

public slots:
    // Reads the runs again, keeping the selection.
    void Reload();
    void CommentSelected();
    void RemoveSelected();

signals:
    void openAsked(long long number);
    void selectionChanged();
    // A run's fate to tell in the status bar.
    void notice(const QString& text);

private:
    QAction* MakeAction(const char* caption, const char* name);
    long long NumberAt(int proxyRow) const;
    void UpdateActions();
    void ShowMessage();

    HistoryBase& m_history;
    Prompts& m_prompts;
    std::string m_bench;
    QStandardItemModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QTableView* m_table;
    QLineEdit* m_filter;
    QLabel* m_message;
    QString m_error;  // the base's
    QString m_note;
    QAction* m_open;
    QAction* m_comment;
    QAction* m_remove;
};

}  // namespace banc::window
