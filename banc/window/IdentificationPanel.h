#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace banc::window {

class LabSession;

// "Identification du processus": the table of the models fitted and read
// by each method (their curves are on the plot), or why the run gives none;
// Réglage... opens the suggestions of the tuning rules.
class IdentificationPanel : public QDialog {
    Q_OBJECT

public:
    IdentificationPanel(LabSession& lab, const std::string& measureUnit, QWidget* parent);

    QTableWidget* Models() const { return m_models; }
    QLabel* Reason() const { return m_reason; }
    QPushButton* Tuning() const { return m_tuning; }

private:
    QTableWidget* m_models = nullptr;  // none when refused
    QLabel* m_reason;
    QPushButton* m_tuning;
};

}  // namespace banc::window
