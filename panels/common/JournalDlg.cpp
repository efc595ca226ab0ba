#include "JournalDlg.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CJournalDlg::CJournalDlg(const char* programName, QWidget* parent)
    : QDialog(parent), m_lignes(new QPlainTextEdit(this)), m_compteurs(new QLabel(this))
{
    setWindowTitle(QString::fromLatin1("Journal des \xE9" "changes - %1").arg(QString::fromLatin1(programName)));
    m_lignes->setReadOnly(true);
    m_lignes->setMaximumBlockCount(static_cast<int>(CJournal::kMaxEntries));
    m_lignes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_lignes->setMinimumSize(480, 240);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lignes, 1);
    layout->addWidget(m_compteurs);
    connect(&m_timer, &QTimer::timeout, this, &CJournalDlg::MisAJour);
}

void CJournalDlg::Suivre(std::shared_ptr<const CJournal> journal)
{
    if (journal == m_journal) return;
    m_journal = std::move(journal);
    m_dernier = 0;
    m_lignes->clear();
    MisAJour();
}

void CJournalDlg::MisAJour()
{
    if (!m_journal) return;
    for (const CJournal::Entree& entree : m_journal->Entrees(m_dernier)) {
        m_lignes->appendPlainText(QString::fromLatin1(CJournal::Ligne(entree)));
        m_dernier = entree.numero;
    }
    const CJournal::Statistiques stats = m_journal->LitStatistiques();
    m_compteurs->setText(QString::fromLatin1("Lignes envoy\xE9" "es : %1   R\xE9ponses : %2 (dont Erreur : %3)   "
                                             "D\xE9lais d\xE9pass\xE9s : %4   Renvois : %5   Reconnexions : %6")
                             .arg(stats.envoyees)
                             .arg(stats.reponses)
                             .arg(stats.erreurs)
                             .arg(stats.delais)
                             .arg(stats.renvois)
                             .arg(stats.reconnexions));
}

QString CJournalDlg::Lignes() const { return m_lignes->toPlainText(); }

QString CJournalDlg::Compteurs() const { return m_compteurs->text(); }

void CJournalDlg::showEvent(QShowEvent* event)
{
    MisAJour();
    m_timer.start(kRefreshMs);
    QDialog::showEvent(event);
}

void CJournalDlg::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    QDialog::hideEvent(event);
}
