#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class QGridLayout;
class QLabel;

namespace salle {

// A station's input and output bytes, bit by bit, lit when set: a row per
// byte, bit 0 first, as the panels number them.
class StationBitsView : public QWidget {
public:
    explicit StationBitsView(QWidget* parent = nullptr);

    void Show(const std::vector<std::uint8_t>& inputs, const std::vector<std::uint8_t>& outputs);
    // The bit's indicator: its text is "1" or "0"; null past the bytes shown.
    QLabel* Bit(bool output, int byte, int bit) const;

private:
    void Rows(QGridLayout* grid, int& row, bool output, const std::vector<std::uint8_t>& bytes);

    QWidget* m_bits = nullptr;
};

}  // namespace salle
