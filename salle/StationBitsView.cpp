#include "salle/StationBitsView.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include <tarvic/platform/Text.h>

#include "window/Latin1.h"

namespace salle {
namespace {

using banc::window::Q;

// A station has a few bytes; beyond these, a payload is not shown bit by bit.
constexpr std::size_t kBytesShown = 16;

QString BitName(bool output, int byte, int bit)
{
    return QStringLiteral("%1-%2-%3")
        .arg(output ? QStringLiteral("sortie") : QStringLiteral("entree"))
        .arg(byte)
        .arg(bit);
}

}  // namespace

StationBitsView::StationBitsView(QWidget* parent) : QWidget(parent) { new QVBoxLayout(this); }

void StationBitsView::Show(const std::vector<std::uint8_t>& inputs, const std::vector<std::uint8_t>& outputs)
{
    // Made again whole: a station has a few bytes, changing once a second at most.
    delete m_bits;
    m_bits = new QWidget;
    auto* grid = new QGridLayout(m_bits);
    int row = 0;
    Rows(grid, row, false, inputs);
    Rows(grid, row, true, outputs);
    layout()->addWidget(m_bits);
}

void StationBitsView::Rows(QGridLayout* grid, int& row, bool output, const std::vector<std::uint8_t>& bytes)
{
    const char* side = output ? "Sorties" : "Entr\xE9" "es";
    for (std::size_t byte = 0; byte < std::min(bytes.size(), kBytesShown); ++byte, ++row) {
        grid->addWidget(new QLabel(Q(tarvic::Format("%s, octet %zu", side, byte))), row, 0);
        for (int bit = 0; bit < 8; ++bit) {
            const bool set = (bytes[byte] >> bit) & 1;
            auto* label = new QLabel(set ? QStringLiteral("1") : QStringLiteral("0"));
            label->setObjectName(BitName(output, static_cast<int>(byte), bit));
            label->setAlignment(Qt::AlignCenter);
            label->setMinimumWidth(24);
            label->setAutoFillBackground(true);
            QPalette palette = label->palette();
            palette.setColor(QPalette::Window, set ? QColor(102, 187, 106) : QColor(224, 224, 224));
            label->setPalette(palette);
            label->setToolTip(Q(tarvic::Format("%s, octet %zu, bit %d", side, byte, bit)));
            grid->addWidget(label, row, bit + 1);
        }
    }
    if (bytes.size() > kBytesShown)
        grid->addWidget(
            new QLabel(Q(tarvic::Format("%s : %zu octets de plus, non montr\xE9s", side, bytes.size() - kBytesShown))),
            row++, 0, 1, 9);
}

QLabel* StationBitsView::Bit(bool output, int byte, int bit) const
{
    return m_bits ? m_bits->findChild<QLabel*>(BitName(output, byte, bit)) : nullptr;
}

}  // namespace salle
