#pragma once

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class CIconButton;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace banc {
struct ParameterDef;
}

namespace banc::window {

// A settings dialog: one row per number, each a line the user types as he
// writes numbers ("2,5" as well as "2.5", "1e-3"), identified by the
// element's parameter number, read with the command line's parser and
// checked against its range before anything is applied. A text that is no
// number, a value out of range, or one the workbench refuses, keeps the
// dialog open with the reason and changes nothing.
class ParameterDialog : public QDialog {
    Q_OBJECT

public:
    using Values = std::map<int, float>;  // by field number

    ParameterDialog(const QString& title, QWidget* parent);

    QLineEdit* Field(int id) const;
    QString Error() const;
    // Reads the fields back; shows why when one is no number or out of range.
    bool ReadFields(Values& values);
    void accept() override;

protected:
    // A row of a number: its label, the edit box showing `decimals` decimals, its range and unit.
    void AddField(int id, const std::string& label, float value, float min, float max, int decimals,
                  const std::string& unit = "");
    // A row of another control.
    void AddRow(const QString& label, QWidget* field);
    void SetFieldShown(int id, bool shown);
    // The values of the fields shown; "" when applied, else why not (Latin-1).
    virtual std::string Apply(const Values& values) = 0;
    // The fields whose value differs from the one shown at first.
    Values Changed(const Values& values) const;
    // The parameter of the engine's tables, for a field made from one.
    static int Decimals(const ParameterDef& def);

private:
    struct FieldInfo {
        int id;
        std::string label;
        float initial;
        float min;
        float max;
        int decimals;
        int row;  // of the form
        bool shown = true;
    };
    // "" with the field's value, or why its text is refused (Latin-1).
    std::string Read(const FieldInfo& field, float& value) const;
    void ShowError(const std::string& latin1);

    QFormLayout* m_form;
    QLabel* m_error;
    std::vector<FieldInfo> m_fields;
};

}  // namespace banc::window
