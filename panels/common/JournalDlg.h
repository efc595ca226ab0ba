#pragma once

#include <cstdint>
#include <memory>

#include <QDialog>
#include <QTimer>

#include "Journal.h"

class QLabel;
class QPlainTextEdit;

// The journal window ("Journal des \xE9changes"): the lines a panel wrote and received, time-stamped,
// and its counts; refreshed while it is shown.
class CJournalDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 500;

    CJournalDlg(const char* programName, QWidget* parent = nullptr);

    // The journal to show from now on (a new process brings a new one).
    void Suivre(std::shared_ptr<const CJournal> journal);
    // Appends what came since the last refresh and updates the counts.
    void MisAJour();

    QString Lignes() const;
    QString Compteurs() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::shared_ptr<const CJournal> m_journal;
    std::uint64_t m_dernier = 0;
    QPlainTextEdit* m_lignes;
    QLabel* m_compteurs;
    QTimer m_timer;
};
