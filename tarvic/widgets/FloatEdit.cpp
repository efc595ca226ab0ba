#include "tarvic/widgets/FloatEdit.h"

#include <QKeyEvent>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

#include "tarvic/widgets/FloatText.h"

namespace {

// Keys that only move the caret or the selection go to the edit box itself.
bool IsNavigation(const QKeyEvent* event)
{
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::MoveToNextChar,     QKeySequence::MoveToPreviousChar, QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord, QKeySequence::MoveToStartOfLine,  QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock, QKeySequence::MoveToEndOfBlock,   QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar, QKeySequence::SelectNextWord,     QKeySequence::SelectPreviousWord,
        QKeySequence::SelectStartOfLine,  QKeySequence::SelectEndOfLine,    QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock,   QKeySequence::SelectAll};
    return std::any_of(std::begin(keys), std::end(keys), [event](auto key) { return event->matches(key); });
}

// The Latin-1 character for a locale separator; a space outside Latin-1 (the
// narrow no-break space of French grouping) becomes the no-break space.
std::optional<char> Latin1Of(const QString& text)
{
    if (text.isEmpty()) return std::nullopt;
    const QChar ch = text.front();
    if (ch.unicode() <= 0xFF) return static_cast<char>(ch.unicode());
    if (ch.isSpace()) return '\xA0';
    return std::nullopt;
}

}  // namespace

CFloatEdit::CFloatEdit(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    LocalSettings();
    SetValue(m_value);  // the text is a formatted number from the start
}

CFloatText CFloatEdit::Formatting() const { return CFloatText(m_commas, m_comma, m_decimalPoint, m_decimals); }

void CFloatEdit::SetValue(double value)
{
    m_value = std::isfinite(value) ? value : 0.0;
    setText(QString::fromLatin1(Formatting().toString(m_value)));
    setCursorPosition(0);
}

void CFloatEdit::SetDecimals(int decimals)
{
    m_decimals = std::clamp(decimals, 0, MaxDecimals);
    SetValue(m_value);
}

void CFloatEdit::EnableCommas(int on)
{
    m_commas = on;
    SetValue(m_value);
}

void CFloatEdit::SetComma(char separator)
{
    m_comma = separator;
    SetValue(m_value);
}

void CFloatEdit::SetDecimalPoint(char point)
{
    m_decimalPoint = point;
    SetValue(m_value);
}

void CFloatEdit::LocalSettings()
{
    const QLocale locale;
    if (const auto point = Latin1Of(locale.decimalPoint())) m_decimalPoint = *point;
    const auto group = Latin1Of(locale.groupSeparator());
    if (group && *group != m_decimalPoint) m_comma = *group;
    // A separator equal to the point would make the number unreadable.
    if (m_comma == m_decimalPoint) m_comma = m_decimalPoint == ',' ? '.' : ',';
}

void CFloatEdit::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        // A read-only box only lets the caret and the selection move.
        if (IsNavigation(event))
            QLineEdit::keyPressEvent(event);
        else
            event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Delete:
        if (hasSelectedText())
            deleteSelection();
        else
            applyEdit([](const CFloatText& t, std::string& text, int& caret) { t.processDelete(text, caret); });
        event->accept();
        return;
    case Qt::Key_Insert: event->accept(); return;
    case Qt::Key_Backspace:
        processCharacter('\b');
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QLineEdit::keyPressEvent(event);  // signals only; the dialog gets the key
        return;
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: event->ignore(); return;
    default: break;
    }
    if (IsNavigation(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        event->ignore();  // function keys and the like belong to the dialog
        return;
    }
    // Control and Alt chords (paste, cut, undo...) type nothing.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        for (const QChar ch : text)
            if (ch.unicode() <= 0xFF) processCharacter(static_cast<char>(ch.unicode()));
    event->accept();
}

void CFloatEdit::mousePressEvent(QMouseEvent* event)
{
    // The right button opens no menu and the middle one pastes nothing.
    if (event->button() == Qt::LeftButton) QLineEdit::mousePressEvent(event);
}

void CFloatEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) QLineEdit::mouseReleaseEvent(event);
}

void CFloatEdit::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void CFloatEdit::inputMethodEvent(QInputMethodEvent* event) { event->ignore(); }

void CFloatEdit::processCharacter(char ch)
{
    if (ch == '-' || ch == '+') {
        deleteSelection();
        applyEdit([ch](const CFloatText& t, std::string& text, int& caret) { t.processSign(text, caret, ch); });
    } else if (ch >= '0' && ch <= '9') {
        deleteSelection();
        applyEdit([ch](const CFloatText& t, std::string& text, int& caret) { t.processDigit(text, caret, ch); });
    } else if (ch == '\b') {
        if (hasSelectedText())
            deleteSelection();
        else
            applyEdit([](const CFloatText& t, std::string& text, int& caret) { t.processBackspace(text, caret); });
    } else if (ch == m_decimalPoint) {
        deleteSelection();
        applyEdit([](const CFloatText& t, std::string& text, int& caret) { t.processDecimalPoint(text, caret); });
    }
}

template <class Edit>
void CFloatEdit::applyEdit(Edit edit)
{
    std::string text;
    int caret = 0;
    getStringAndSelection(text, caret);
    edit(Formatting(), text, caret);
    setStringAndSelection(text, caret);
}

void CFloatEdit::getStringAndSelection(std::string& text, int& caret) const
{
    text = this->text().toLatin1().toStdString();
    caret = hasSelectedText() ? selectionStart() : cursorPosition();
}

void CFloatEdit::setStringAndSelection(const std::string& text, int caret)
{
    setText(QString::fromLatin1(text));
    setCursorPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
    m_value = Formatting().valueOf(text);
}

void CFloatEdit::deleteSelection()
{
    if (!hasSelectedText()) return;
    const int start = selectionStart();
    std::string text = this->text().toLatin1().toStdString();
    text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(selectionEnd() - start));
    setStringAndSelection(text, start);
    SetValue(m_value);
    setCursorPosition(std::min(start, static_cast<int>(this->text().size())));
}
