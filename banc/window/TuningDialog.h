#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace banc::window {

class LabSession;

// "R\xE9glage du correcteur": every rule's settings with the response they
// predict; Appliquer writes the row chosen into the closed loop's controller
// and sends it to the card, and the dialog stays for another try.
class TuningDialog : public QDialog {
    Q_OBJECT

public:
    TuningDialog(LabSession& lab, QWidget* parent);

    QTableWidget* Suggestions() const { return m_suggestions; }
    QPushButton* ApplyButton() const { return m_apply; }
    QLabel* Message() const { return m_message; }

private:
    void ApplyChosen();

    LabSession& m_lab;
    QTableWidget* m_suggestions;
    QPushButton* m_apply;
    QLabel* m_message;
};

}  // namespace banc::window
