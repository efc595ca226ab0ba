#pragma once

#include <QLineEdit>

#include <string>

#include "tarvic/platform/Export.h"

class CFloatText;

// A one-line edit box for a decimal number with a fixed number of decimals
// and optional thousands separators. Every key is interpreted here, the text
// is re-formatted after each edit and the value follows the text; nothing
// else (paste, drop, input method, context menu) reaches the text.
class TARVIC_EXPORT CFloatEdit : public QLineEdit {
    Q_OBJECT

public:
    // More decimals than this are not shown.
    static constexpr int MaxDecimals = 100;

    explicit CFloatEdit(QWidget* parent = nullptr);

    // Shows `value` (cut, not rounded, to the decimals) with the caret at 0. A
    // value that is not finite is taken as 0.
    void SetValue(double value);
    double GetValue() const { return m_value; }
    int GetDecimals() const { return m_decimals; }
    // Clamped to 0..MaxDecimals.
    void SetDecimals(int decimals);
    void EnableCommas(int on);
    char GetComma() const { return m_comma; }
    void SetComma(char separator);
    char GetDecimalPoint() const { return m_decimalPoint; }
    void SetDecimalPoint(char point);
    // Separators of the user's locale (QLocale's default).
    void LocalSettings();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    CFloatText Formatting() const;
    void processCharacter(char ch);
    void getStringAndSelection(std::string& text, int& caret) const;
    void setStringAndSelection(const std::string& text, int caret);
    void deleteSelection();
    // Runs one edit of CFloatText on the current text and caret.
    template <class Edit>
    void applyEdit(Edit edit);

    double m_value = 0.0;
    int m_commas = 1;
    char m_comma = ',';
    char m_decimalPoint = '.';
    int m_decimals = 2;
};
