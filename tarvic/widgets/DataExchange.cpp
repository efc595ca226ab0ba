#include "tarvic/widgets/DataExchange.h"

#include <QLineEdit>

#include <cstdint>

#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"

namespace {

constexpr int LongueurLue = 31;

// Runs `read` on the edit box's text or shows the text `write` gives,
// depending on the direction of the exchange.
template <class Read, class Write>
void Exchange(CDataExchange* pDX, int id, Read read, Write write)
{
    QLineEdit* edit = pDX ? pDX->PrepareEditCtrl(id) : nullptr;
    if (!edit) {
        tarvic::TraceFormat("DDX: pas de contr\xF4le %d\n", id);
        return;
    }
    if (pDX->m_bSaveAndValidate)
        read(tarvic::Mid(edit->text().toLatin1().toStdString(), 0, LongueurLue));
    else
        edit->setText(QString::fromLatin1(write()));
}

void ExchangeFloat(CDataExchange* pDX, int id, float& value, std::string (*print)(double))
{
    Exchange(
        pDX, id, [&value](const std::string& text) { tarvic::ScanFloat(text, value); },
        [&value, print] { return print(value); });
}

}  // namespace

QLineEdit* CDataExchange::PrepareEditCtrl(int id) const
{
    return m_pDlgWnd ? m_pDlgWnd->findChild<QLineEdit*>(QString::number(id)) : nullptr;
}

void DDX_float(CDataExchange* pDX, int id, float& value)
{
    ExchangeFloat(pDX, id, value, [](double v) { return tarvic::Format("%.2f", v); });
}

void DDX_float0(CDataExchange* pDX, int id, float& value)
{
    ExchangeFloat(pDX, id, value, [](double v) { return tarvic::Format("%.f", v); });
}

void DDX_float3(CDataExchange* pDX, int id, float& value)
{
    ExchangeFloat(pDX, id, value, [](double v) { return tarvic::Format("%.3f", v); });
}

void DDX_hexa4(CDataExchange* pDX, int id, int& value)
{
    Exchange(
        pDX, id,
        [&value](const std::string& text) {
            std::uint32_t scanned = 0;
            if (tarvic::ScanHex(text, scanned)) value = static_cast<int>(scanned);
        },
        [&value] { return tarvic::Format("%4.4X", static_cast<unsigned>(value)); });
}
