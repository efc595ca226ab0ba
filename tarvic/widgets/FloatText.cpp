#include "tarvic/widgets/FloatText.h"

#include <charconv>
#include <cmath>

#include "tarvic/platform/Text.h"

namespace {

// Significant digits taken from a double before padding with zeros. Fifteen
// is what a double holds faithfully: every decimal of up to 15 digits comes
// back as written (0.29 shows .29, where 17 digits would give 0.28999...).
constexpr int ChiffresSignificatifs = 15;

int Length(const std::string& text) { return static_cast<int>(text.size()); }

int PositionOf(const std::string& text, char ch)
{
    const auto at = text.find(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string CFloatText::toString(double value) const
{
    // Digits d1 d2 ... and the position of the decimal point relative to d1:
    // value = 0.d1d2... x 10^pointPosition.
    std::string digits(ChiffresSignificatifs, '0');
    int pointPosition = 0;
    if (value != 0.0) {
        const std::string e = tarvic::Format("%.*e", ChiffresSignificatifs - 1, std::fabs(value));
        digits = tarvic::Mid(e, 0, 1) + tarvic::Mid(e, 2, ChiffresSignificatifs - 1);
        int exponent = 0;
        tarvic::ScanInt(tarvic::Mid(e, ChiffresSignificatifs + 2), exponent);
        pointPosition = exponent + 1;
    }
    auto digitAt = [&](int i) { return i >= 0 && i < Length(digits) ? digits[static_cast<std::size_t>(i)] : '0'; };

    std::string text;
    for (int i = 0; i < pointPosition; ++i) text += digitAt(i);
    if (m_decimales > 0) {
        text += m_point;
        // Cut, not rounded.
        for (int i = 0; i < m_decimales; ++i) text += digitAt(pointPosition + i);
    }
    text = putCommas(text);
    return value < 0 ? "-" + text : text;
}

std::string CFloatText::removeCommas(const std::string& text) const
{
    std::string result;
    for (const char ch : text)
        if (ch != m_separateur) result += ch;
    return result;
}

void CFloatText::getIntegerAndDecimal(const std::string& text, std::string& integer, std::string& decimal) const
{
    const std::string plain = removeCommas(text);
    const int point = PositionOf(plain, m_point);
    integer = point < 0 ? plain : tarvic::Mid(plain, 0, point);
    decimal = point < 0 ? std::string() : tarvic::Mid(plain, point + 1);
}

std::string CFloatText::removeFirstComma(std::string text) const
{
    if (!text.empty() && text[0] == m_separateur)
        text.erase(0, 1);
    else if (text.size() > 1 && text[0] == '-' && text[1] == m_separateur)
        text.erase(1, 1);
    return text;
}

std::string CFloatText::putCommas(const std::string& text) const
{
    if (!m_separateurs) return text;
    std::string integer;
    std::string decimal;
    getIntegerAndDecimal(text, integer, decimal);
    std::string result;
    int count = 0;
    for (auto it = integer.rbegin(); it != integer.rend(); ++it) {
        result.insert(result.begin(), *it);
        if (++count % 3 == 0) result.insert(result.begin(), m_separateur);
    }
    result = removeFirstComma(result);
    if (m_decimales > 0) result += m_point + decimal;
    return result;
}

double CFloatText::valueOf(const std::string& text) const
{
    std::string integer;
    std::string decimal;
    getIntegerAndDecimal(text, integer, decimal);
    const std::string number = integer + "." + decimal;
    double value = 0.0;
    // from_chars ignores the locale: the joined text always has a '.'.
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc()) return 0.0;
    return value;
}

bool CFloatText::bIsLeftDecimal(const std::string& text, int caret) const
{
    const int point = PositionOf(text, m_point);
    return point < 0 || caret <= point;
}

bool CFloatText::bIsLeftCharacter(const std::string& text, int caret, char ch)
{
    return caret > 0 && caret <= Length(text) && text[static_cast<std::size_t>(caret - 1)] == ch;
}

bool CFloatText::bIsRightCharacter(const std::string& text, int caret, char ch)
{
    return caret >= 0 && caret < Length(text) && text[static_cast<std::size_t>(caret)] == ch;
}

void CFloatText::reformat(std::string& text, int& caret, int fromEnd) const
{
    text = putCommas(text);
    caret = Length(text) - fromEnd;
}

void CFloatText::processDigit(std::string& text, int& caret, char digit) const
{
    // A digit typed before the sign goes after it, so the text stays a number.
    if (bIsRightCharacter(text, caret, '-')) ++caret;
    if (bIsLeftDecimal(text, caret)) {
        const int fromEnd = Length(text) - caret;
        text.insert(static_cast<std::size_t>(caret), 1, digit);
        reformat(text, caret, fromEnd);
    } else if (caret < Length(text)) {
        // The number of decimals is fixed: a decimal digit is overwritten.
        text[static_cast<std::size_t>(caret++)] = digit;
    }
    if (bIsRightCharacter(text, caret, m_separateur)) ++caret;
}

void CFloatText::processSign(std::string& text, int& caret, char sign) const
{
    if (!text.empty() && text[0] == '-') {
        text.erase(0, 1);
        --caret;
    } else if (sign == '-') {
        text.insert(text.begin(), '-');
        ++caret;
    }
}

void CFloatText::processDecimalPoint(std::string& text, int& caret) const
{
    if (bIsLeftDecimal(text, caret)) {
        const int point = PositionOf(text, m_point);
        text = tarvic::Mid(text, 0, caret) + (point < 0 ? std::string() : tarvic::Mid(text, point));
    }
    text = putCommas(text);
    const int point = PositionOf(text, m_point);
    caret = point < 0 ? Length(text) : point + 1;
}

void CFloatText::processBackspace(std::string& text, int& caret) const
{
    // The decimal point is never deleted: the caret steps over it.
    if (bIsLeftCharacter(text, caret, m_point)) --caret;
    if (bIsLeftDecimal(text, caret)) {
        if (caret <= 0) return;
        const int fromEnd = Length(text) - caret;
        const int count = bIsLeftCharacter(text, caret, m_separateur) && caret >= 2 ? 2 : 1;
        text.erase(static_cast<std::size_t>(caret - count), static_cast<std::size_t>(count));
        reformat(text, caret, fromEnd);
    } else {
        text.erase(static_cast<std::size_t>(caret - 1), 1);
        text += '0';
        --caret;
    }
}

void CFloatText::processDelete(std::string& text, int& caret) const
{
    if (bIsRightCharacter(text, caret, m_point)) ++caret;
    if (caret < 0 || caret >= Length(text)) return;
    if (bIsLeftDecimal(text, caret)) {
        const int fromEnd = Length(text) - caret;
        const int count = bIsRightCharacter(text, caret, m_separateur) && caret + 1 < Length(text) ? 2 : 1;
        text.erase(static_cast<std::size_t>(caret), static_cast<std::size_t>(count));
        reformat(text, caret, fromEnd - count);
    } else {
        text.erase(static_cast<std::size_t>(caret), 1);
        text += '0';
    }
}
