#include "window/TuningDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/outputs/LabText.h"
#include "window/LabSession.h"
#include "window/Latin1.h"
#include "window/TableView.h"

namespace banc::window {

TuningDialog::TuningDialog(LabSession& lab, QWidget* parent)
    : QDialog(parent), m_lab(lab),
      m_suggestions(MakeTableView(SuggestionTable(lab.Result()->suggestions), "reglages", this)),
      m_apply(new QPushButton(Q("&Appliquer"), this)), m_message(new QLabel(this))
{
    setWindowTitle(Q("R\xE9glage du correcteur"));
    m_apply->setObjectName(QStringLiteral("appliquer"));
    m_apply->setEnabled(false);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    connect(m_suggestions, &QTableWidget::itemSelectionChanged, this, [this] {
        m_apply->setEnabled(!m_suggestions->selectedItems().isEmpty());
        m_message->clear();
    });
    connect(m_apply, &QPushButton::clicked, this, &TuningDialog::ApplyChosen);
    auto* close = new QPushButton(Q("&Fermer"), this);
    close->setObjectName(QStringLiteral("fermer"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        Q("R\xE9glages sugg\xE9r\xE9s par chaque r\xE8gle, avec la r\xE9ponse qu'ils pr\xE9" "disent :"), this));
    layout->addWidget(m_suggestions);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
}

void TuningDialog::ApplyChosen()
{
    const QList<QTableWidgetItem*> chosen = m_suggestions->selectedItems();
    if (chosen.isEmpty()) return;
    const int row = chosen.front()->row();
    const std::string error = m_lab.Apply(static_cast<std::size_t>(row));
    m_message->setStyleSheet(error.empty() ? QString() : QStringLiteral("color: #c00000"));
    if (!error.empty()) {
        m_message->setText(Q(Capitalised(error)));
        return;
    }
    // The rule and controller as the table names them.
    const QString rule = m_suggestions->item(row, 0)->text(), type = m_suggestions->item(row, 1)->text();
    m_message->setText(Q("Appliqu\xE9 au correcteur : ") + rule + " " + type +
                       Q(". La r\xE9ponse pr\xE9" "dite est en pointill\xE9 sur le trac\xE9."));
}

}  // namespace banc::window
