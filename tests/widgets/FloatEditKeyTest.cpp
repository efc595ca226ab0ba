#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "FloatEditFixture.h"

// Every edit is driven through real key and mouse events.
namespace tarvic::test {
namespace {

class FloatEditKeyTest : public FloatEditTest {
protected:
    // Shows `value`, puts the caret at `caret` and types `keys`.
    void TypeAt(double value, int caret, const char* keys)
    {
        m_edit->SetValue(value);
        m_edit->setCursorPosition(caret);
        QTest::keyClicks(m_edit.get(), QString::fromLatin1(keys));
    }
    void PressAt(double value, int caret, Qt::Key key)
    {
        m_edit->SetValue(value);
        m_edit->setCursorPosition(caret);
        QTest::keyClick(m_edit.get(), key);
    }
    int Caret() const { return m_edit->cursorPosition(); }
};

// --- Digits ----------------------------------------------------------------

TEST_F(FloatEditKeyTest, ADigitAtTheEndOfTheDecimalsChangesNothing)
{
    TypeAt(12.34, 5, "7");
    EXPECT_EQ(Text(), "12.34");
    EXPECT_EQ(Caret(), 5);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 12.34);
}

TEST_F(FloatEditKeyTest, ADecimalDigitOverwritesTheOneRightOfTheCaret)
{
    TypeAt(12.34, 3, "5");
    EXPECT_EQ(Text(), "12.54");
    EXPECT_EQ(Caret(), 4);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 12.54);
}

TEST_F(FloatEditKeyTest, IntegerDigitsAreInsertedAndGrouped)
{
    TypeAt(0, 0, "1234567");
    EXPECT_EQ(Text(), "1,234,567.00");
    EXPECT_EQ(Caret(), 9);  // still just before the point
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 1234567);
}

TEST_F(FloatEditKeyTest, TheCaretStepsOverASeparatorAfterADigit)
{
    TypeAt(1234, 1, "5");  // "1,234.00", caret after the 1
    EXPECT_EQ(Text(), "15,234.00");
    EXPECT_EQ(Caret(), 3);
}

TEST_F(FloatEditKeyTest, ADigitTypedBeforeTheSignGoesAfterIt)
{
    TypeAt(-12, 0, "5");
    EXPECT_EQ(Text(), "-512.00");
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), -512);
}

TEST_F(FloatEditKeyTest, DigitsWithoutDecimals)
{
    m_edit->SetDecimals(0);
    TypeAt(0, 0, "98765");
    EXPECT_EQ(Text(), "98,765");
    EXPECT_EQ(Caret(), 6);
}

// --- Sign ------------------------------------------------------------------

TEST_F(FloatEditKeyTest, MinusTwiceGivesBackTheText)
{
    TypeAt(1234.5, 2, "-");
    EXPECT_EQ(Text(), "-1,234.50");
    EXPECT_EQ(Caret(), 3);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), -1234.5);
    QTest::keyClicks(m_edit.get(), "-");
    EXPECT_EQ(Text(), "1,234.50");
    EXPECT_EQ(Caret(), 2);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 1234.5);
}

TEST_F(FloatEditKeyTest, PlusOnlyRemovesAMinus)
{
    TypeAt(12.5, 1, "+");
    EXPECT_EQ(Text(), "12.50");
    EXPECT_EQ(Caret(), 1);
    TypeAt(-12.5, 3, "+");
    EXPECT_EQ(Text(), "12.50");
    EXPECT_EQ(Caret(), 2);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 12.5);
}

// --- Decimal point ---------------------------------------------------------

TEST_F(FloatEditKeyTest, ThePointDropsTheIntegerDigitsRightOfTheCaret)
{
    TypeAt(1234.56, 2, ".");  // caret after "1,"
    EXPECT_EQ(Text(), "1.56");
    EXPECT_EQ(Caret(), 2);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 1.56);
}

TEST_F(FloatEditKeyTest, ThePointInTheDecimalsMovesTheCaretAfterThePoint)
{
    TypeAt(12.34, 5, ".");
    EXPECT_EQ(Text(), "12.34");
    EXPECT_EQ(Caret(), 3);
}

TEST_F(FloatEditKeyTest, WithoutDecimalsThePointCutsTheInteger)
{
    m_edit->SetDecimals(0);
    TypeAt(12345, 3, ".");  // caret after "12,"
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(Caret(), 2);
}

// --- Backspace -------------------------------------------------------------

TEST_F(FloatEditKeyTest, BackspaceAfterThePointDeletesTheLastIntegerDigit)
{
    PressAt(12.34, 3, Qt::Key_Backspace);
    EXPECT_EQ(Text(), "1.34");
    EXPECT_EQ(Caret(), 1);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 1.34);
}

TEST_F(FloatEditKeyTest, BackspaceInTheDecimalsPadsWithZero)
{
    PressAt(12.34, 4, Qt::Key_Backspace);
    EXPECT_EQ(Text(), "12.40");
    EXPECT_EQ(Caret(), 3);
}

TEST_F(FloatEditKeyTest, BackspaceAfterASeparatorDeletesTheDigitBeforeIt)
{
    PressAt(1234567, 6, Qt::Key_Backspace);  // "1,234,|567.00"
    EXPECT_EQ(Text(), "123,567.00");
    EXPECT_EQ(Caret(), 4);  // as far from the end as before
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 123567);
}

TEST_F(FloatEditKeyTest, BackspaceAtTheStartDoesNothing)
{
    PressAt(12.5, 0, Qt::Key_Backspace);
    EXPECT_EQ(Text(), "12.50");
    EXPECT_EQ(Caret(), 0);
}

// --- Delete and Insert -----------------------------------------------------

TEST_F(FloatEditKeyTest, DeleteBeforeThePointDeletesTheFirstDecimal)
{
    PressAt(12.34, 2, Qt::Key_Delete);
    EXPECT_EQ(Text(), "12.40");
    EXPECT_EQ(Caret(), 3);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 12.4);
}

TEST_F(FloatEditKeyTest, DeleteBeforeASeparatorDeletesTheDigitAfterIt)
{
    PressAt(1234, 1, Qt::Key_Delete);  // "1|,234.00"
    EXPECT_EQ(Text(), "134.00");
    EXPECT_EQ(Caret(), 1);
}

TEST_F(FloatEditKeyTest, DeleteKeepsTheCaretBeforeTheSameDigits)
{
    PressAt(1234, 0, Qt::Key_Delete);
    EXPECT_EQ(Text(), "234.00");
    EXPECT_EQ(Caret(), 0);
    PressAt(12.34, 5, Qt::Key_Delete);
    EXPECT_EQ(Text(), "12.34");
}

TEST_F(FloatEditKeyTest, InsertHasNoEffect)
{
    PressAt(12.34, 3, Qt::Key_Insert);
    EXPECT_EQ(Text(), "12.34");
    EXPECT_EQ(Caret(), 3);
    QTest::keyClicks(m_edit.get(), "9");
    EXPECT_EQ(Text(), "12.94");  // still overwriting, nothing toggled
}

// --- Selection -------------------------------------------------------------

TEST_F(FloatEditKeyTest, DeleteRemovesTheSelectionAndReformats)
{
    m_edit->SetValue(1234.5);
    m_edit->setSelection(2, 2);  // "23" of "1,234.50"
    QTest::keyClick(m_edit.get(), Qt::Key_Delete);
    EXPECT_EQ(Text(), "14.50");
    EXPECT_EQ(Caret(), 2);
    EXPECT_FALSE(m_edit->hasSelectedText());
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 14.5);
}

TEST_F(FloatEditKeyTest, BackspaceRemovesOnlyTheSelection)
{
    m_edit->SetValue(98.76);
    m_edit->setSelection(3, 2);
    QTest::keyClick(m_edit.get(), Qt::Key_Backspace);
    EXPECT_EQ(Text(), "98.00");
    EXPECT_EQ(Caret(), 3);
}

TEST_F(FloatEditKeyTest, ADigitReplacesTheSelection)
{
    m_edit->SetValue(12.34);
    m_edit->selectAll();
    QTest::keyClicks(m_edit.get(), "7");
    EXPECT_EQ(Text(), "7.00");
    EXPECT_EQ(Caret(), 1);
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 7);
}

TEST_F(FloatEditKeyTest, NavigationKeysMoveAndSelect)
{
    PressAt(12.34, 5, Qt::Key_Left);
    EXPECT_EQ(Caret(), 4);
    QTest::keyClicks(m_edit.get(), "9");
    EXPECT_EQ(Text(), "12.39");
    QTest::keyClick(m_edit.get(), Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(m_edit->selectedText(), QString::fromLatin1("12.39"));
}

// --- What never reaches the text -------------------------------------------

TEST_F(FloatEditKeyTest, LettersAndOtherCharactersAreIgnored)
{
    TypeAt(12.34, 2, "a,e /*x");
    EXPECT_EQ(Text(), "12.34");
    EXPECT_EQ(Caret(), 2);
}

TEST_F(FloatEditKeyTest, PasteCutAndUndoChangeNothing)
{
    QApplication::clipboard()->setText(QString::fromLatin1("999"));
    m_edit->SetValue(12.34);
    m_edit->selectAll();
    QTest::keyClick(m_edit.get(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(m_edit.get(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(m_edit.get(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(m_edit.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), "12.34");
}

TEST_F(FloatEditKeyTest, TheRightButtonOpensNoMenu)
{
    m_edit->show();
    m_edit->SetValue(12.34);
    QTest::mouseClick(m_edit.get(), Qt::RightButton, {}, QPoint(5, 5));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), m_edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(m_edit.get(), &menuEvent);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(m_edit->findChildren<QMenu*>().isEmpty());
    EXPECT_EQ(Text(), "12.34");
}

TEST_F(FloatEditKeyTest, ReturnIsLeftToTheDialog)
{
    QSignalSpy returnPressed(m_edit.get(), &QLineEdit::returnPressed);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString::fromLatin1("\r"));
    QApplication::sendEvent(m_edit.get(), &press);
    EXPECT_FALSE(press.isAccepted());
    EXPECT_EQ(returnPressed.count(), 1);
    EXPECT_EQ(Text(), ".00");
}

TEST_F(FloatEditKeyTest, AReadOnlyBoxOnlyMovesTheCaret)
{
    m_edit->setReadOnly(true);
    TypeAt(12.34, 5, "7-.");
    QTest::keyClick(m_edit.get(), Qt::Key_Backspace);
    QTest::keyClick(m_edit.get(), Qt::Key_Left);
    QTest::keyClick(m_edit.get(), Qt::Key_Delete);
    EXPECT_EQ(Text(), "12.34");
    EXPECT_EQ(Caret(), 4);
}

// --- Locale separators -----------------------------------------------------

TEST_F(FloatEditKeyTest, UnderAFrenchLocaleTheCommaIsThePoint)
{
    MakeUnder(QLocale(QLocale::French, QLocale::France));
    TypeAt(0, 0, "1234,5.6");
    EXPECT_EQ(Text(), "1\xA0" "234,56");
    EXPECT_DOUBLE_EQ(m_edit->GetValue(), 1234.56);
}

}  // namespace
}  // namespace tarvic::test
