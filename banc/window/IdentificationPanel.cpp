#include "window/IdentificationPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/outputs/LabText.h"
#include "engine/outputs/Results.h"
#include "window/LabSession.h"
#include "window/Latin1.h"
#include "window/TableView.h"
#include "window/TuningDialog.h"

namespace banc::window {

IdentificationPanel::IdentificationPanel(LabSession& lab, const std::string& measureUnit, QWidget* parent)
    : QDialog(parent), m_reason(new QLabel(this)), m_tuning(new QPushButton(Q("&R\xE9glage..."), this))
{
    setWindowTitle(Q("Identification du processus"));
    m_reason->setObjectName(QStringLiteral("raison"));
    m_reason->setWordWrap(true);
    m_tuning->setObjectName(QStringLiteral("reglage"));
    auto* layout = new QVBoxLayout(this);
    const LabResult& result = *lab.Result();
    if (!result.identification.Identified()) {
        m_reason->setText(Q(result.identification.refusal));
    } else {
        layout->addWidget(new QLabel(Q("Mod\xE8les (leurs courbes sont sur le trac\xE9) :"), this));
        m_models = MakeTableView(ModelTable(result.identification, measureUnit, kCommandUnit, result.record.period),
                                 "modeles", this);
        layout->addWidget(m_models);
        m_reason->setText(Q(result.tuningRefusal));
    }
    m_reason->setVisible(!m_reason->text().isEmpty());
    layout->addWidget(m_reason);
    m_tuning->setEnabled(!result.suggestions.empty());
    auto* close = new QPushButton(Q("&Fermer"), this);
    close->setObjectName(QStringLiteral("fermer"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Of a run no longer shown, it has nothing more to say: it goes, and its settings' dialog with it.
    connect(&lab, &LabSession::forgotten, this, &QDialog::reject);
    connect(m_tuning, &QPushButton::clicked, this, [this, &lab] {
        auto* dialog = new TuningDialog(lab, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_tuning);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

}  // namespace banc::window
