#include "window/ParameterDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <tarvic/platform/Text.h>
#include <tarvic/widgets/IconButton.h>

#include <algorithm>
#include <cstring>

#include "engine/model/NumberText.h"
#include "engine/model/Parameter.h"
#include "window/Latin1.h"

namespace banc::window {
namespace {

// Decimals a field shows, by parameter; 2 for the others.
struct FieldDecimals {
    const char* name;
    int decimals;
};
constexpr FieldDecimals kDecimals[] = {{"kp", 3},     {"ti", 3},        {"td", 3},     {"ks", 3},     {"coefc0", 3},
                                       {"coefc1", 3}, {"coefc2", 3},    {"coefc3", 3}, {"coefb0", 3}, {"coefb1", 3},
                                       {"coefb2", 3}, {"frequence", 3}, {"te", 0},     {"tem", 0}};

// With the decimal comma the user reads and types.
std::string FieldText(float value, int decimals)
{
    std::string text = tarvic::Format("%.*f", decimals, double{value});
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

ParameterDialog::ParameterDialog(const QString& title, QWidget* parent)
    : QDialog(parent), m_form(new QFormLayout), m_error(new QLabel(this))
{
    setWindowTitle(title);
    m_error->setStyleSheet(QStringLiteral("color: #c00000"));
    m_error->setWordWrap(true);
    m_error->hide();
    auto* valider = new CIconButton(QStringLiteral("&Valider"), this);
    auto* annuler = new CIconButton(QStringLiteral("&Annuler"), this);
    valider->setObjectName(QStringLiteral("valider"));
    annuler->setObjectName(QStringLiteral("annuler"));
    valider->setDefault(true);
    connect(valider, &QPushButton::clicked, this, &ParameterDialog::accept);
    connect(annuler, &QPushButton::clicked, this, &ParameterDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(valider);
    buttons->addWidget(annuler);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(m_error);
    layout->addLayout(buttons);
}

int ParameterDialog::Decimals(const ParameterDef& def)
{
    for (const auto& entry : kDecimals)
        if (std::strcmp(entry.name, def.name) == 0) return entry.decimals;
    return 2;
}

void ParameterDialog::AddRow(const QString& label, QWidget* field) { m_form->addRow(label, field); }

void ParameterDialog::AddField(int id, const std::string& label, float value, float min, float max, int decimals,
                               const std::string& unit)
{
    auto* edit = new QLineEdit(Q(FieldText(value, decimals)), this);
    edit->setObjectName(QString::number(id));
    std::string limits = RangeText(min, max);
    if (!unit.empty()) limits += " " + unit;
    auto* range = new QLabel(Q(limits), this);
    range->setObjectName(QStringLiteral("limites%1").arg(id));
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    row->addWidget(range);
    m_fields.push_back({id, label, value, min, max, decimals, m_form->rowCount()});
    m_form->addRow(Q(label), row);
}

QLineEdit* ParameterDialog::Field(int id) const { return findChild<QLineEdit*>(QString::number(id)); }

void ParameterDialog::SetFieldShown(int id, bool shown)
{
    for (auto& field : m_fields)
        if (field.id == id) {
            field.shown = shown;
            m_form->setRowVisible(field.row, shown);
        }
}

QString ParameterDialog::Error() const { return m_error->isVisible() ? m_error->text() : QString(); }

void ParameterDialog::ShowError(const std::string& latin1)
{
    m_error->setText(Q(latin1));
    m_error->setVisible(!latin1.empty());
}

bool ParameterDialog::ReadFields(Values& values)
{
    values.clear();
    for (auto& field : m_fields) {
        if (!field.shown) continue;
        float value = 0;
        if (std::string error = Read(field, value); !error.empty()) {
            ShowError(error);
            if (QLineEdit* edit = Field(field.id)) edit->setFocus();
            return false;
        }
        values[field.id] = value;
    }
    return true;
}

std::string ParameterDialog::Read(const FieldInfo& field, float& value) const
{
    const QLineEdit* edit = Field(field.id);
    const std::string text = edit ? Latin1(edit->text().trimmed()) : std::string();
    const std::string range = RangeText(field.min, field.max);
    if (text.empty())
        return tarvic::Format("%s : une valeur est demand\xE9" "e (%s).", field.label.c_str(), range.c_str());
    double number = 0;
    if (!ParseNumber(text, number))
        return tarvic::Format("%s : \xAB %s \xBB n'est pas un nombre (%s).", field.label.c_str(), text.c_str(),
                              range.c_str());
    value = static_cast<float>(number);
    if (!(value >= field.min && value <= field.max))
        return tarvic::Format("%s : %s est hors limites (%s).", field.label.c_str(), NumberText(number).c_str(),
                              range.c_str());
    return {};
}

ParameterDialog::Values ParameterDialog::Changed(const Values& values) const
{
    Values changed;
    for (const auto& field : m_fields) {
        const auto value = values.find(field.id);
        // Compared as shown: a value the box rounds is no change.
        if (value == values.end()) continue;
        const std::string before = tarvic::Format("%.*f", field.decimals, double{field.initial});
        const std::string after = tarvic::Format("%.*f", field.decimals, double{value->second});
        if (before != after) changed.insert(*value);
    }
    return changed;
}

void ParameterDialog::accept()
{
    Values values;
    if (!ReadFields(values)) return;
    if (std::string error = Apply(values); !error.empty()) {
        ShowError(error);
        return;
    }
    QDialog::accept();
}

}  // namespace banc::window
