#pragma once

#include <string>

// The text side of the float edit control: formatting a value, and each edit
// the control allows, as operations on a text and a caret position. The text
// always has the form [-][integer digits grouped by threes][point decimals].
class CFloatText {
public:
    CFloatText(int separateurs, char separateur, char point, int decimales)
        : m_separateurs(separateurs), m_separateur(separateur), m_point(point), m_decimales(decimales)
    {
    }

    std::string toString(double value) const;
    std::string putCommas(const std::string& text) const;
    // The number the text shows; 0 when it shows none.
    double valueOf(const std::string& text) const;

    // Each edit leaves the text re-formatted and the caret where the next key
    // goes; the caret may come out of range and is clamped by the caller.
    void processDigit(std::string& text, int& caret, char digit) const;
    void processSign(std::string& text, int& caret, char sign) const;
    void processDecimalPoint(std::string& text, int& caret) const;
    void processBackspace(std::string& text, int& caret) const;
    void processDelete(std::string& text, int& caret) const;

private:
    std::string removeCommas(const std::string& text) const;
    void getIntegerAndDecimal(const std::string& text, std::string& integer, std::string& decimal) const;
    std::string removeFirstComma(std::string text) const;
    bool bIsLeftDecimal(const std::string& text, int caret) const;
    static bool bIsLeftCharacter(const std::string& text, int caret, char ch);
    static bool bIsRightCharacter(const std::string& text, int caret, char ch);
    // Re-formats and keeps the caret at its distance from the end.
    void reformat(std::string& text, int& caret, int fromEnd) const;

    int m_separateurs;
    char m_separateur;
    char m_point;
    int m_decimales;
};
