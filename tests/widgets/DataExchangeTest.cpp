#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include <memory>

#include "support/TraceCapture.h"
#include "tarvic/widgets/DataExchange.h"
#include "tarvic/widgets/FloatEdit.h"

namespace tarvic::test {
namespace {

// A dialog with edit boxes named by their identifiers, one of them nested.
class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dialog = std::make_unique<QWidget>();
        m_edit1001 = Add(m_dialog.get(), 1001);
        auto* group = new QWidget(m_dialog.get());
        m_edit1002 = Add(group, 1002);
    }
    static QLineEdit* Add(QWidget* parent, int id)
    {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(QString::number(id));
        return edit;
    }
    void Show(void (*ddx)(CDataExchange*, int, float&), int id, float value)
    {
        CDataExchange dx(m_dialog.get(), false);
        ddx(&dx, id, value);
    }
    float Read(void (*ddx)(CDataExchange*, int, float&), const char* text, float before)
    {
        m_edit1001->setText(QString::fromLatin1(text));
        CDataExchange dx(m_dialog.get(), true);
        ddx(&dx, 1001, before);
        return before;
    }
    std::string Text(QLineEdit* edit) const { return edit->text().toLatin1().toStdString(); }

    std::unique_ptr<QWidget> m_dialog;
    QLineEdit* m_edit1001 = nullptr;
    QLineEdit* m_edit1002 = nullptr;
};

TEST_F(DataExchangeTest, FloatsAreShownWithTheirDecimals)
{
    Show(DDX_float, 1001, 3.14159f);
    EXPECT_EQ(Text(m_edit1001), "3.14");
    Show(DDX_float3, 1001, -2.5f);
    EXPECT_EQ(Text(m_edit1001), "-2.500");
    Show(DDX_float0, 1002, 41.75f);
    EXPECT_EQ(Text(m_edit1002), "42");
}

TEST_F(DataExchangeTest, FloatsAreReadFromTheText)
{
    EXPECT_EQ(Read(DDX_float, "12.5", 0), 12.5f);
    EXPECT_EQ(Read(DDX_float0, "  -7.25abc", 0), -7.25f);
    EXPECT_EQ(Read(DDX_float3, "1e3", 0), 1000.0f);
}

TEST_F(DataExchangeTest, AFloatTextThatIsNoNumberLeavesTheMember)
{
    EXPECT_EQ(Read(DDX_float, "abc", 4.5f), 4.5f);
    EXPECT_EQ(Read(DDX_float, "", 4.5f), 4.5f);
}

TEST_F(DataExchangeTest, OnlyThe31FirstCharactersAreRead)
{
    EXPECT_EQ(Read(DDX_float, "1234567890123456789012345678901", 0), 1234567890123456789012345678901.0f);
    EXPECT_EQ(Read(DDX_float, "0000000000000000000000000000000" "5", 9), 0.0f);
}

TEST_F(DataExchangeTest, Hexa4ShowsFourUpperCaseDigits)
{
    CDataExchange dx(m_dialog.get(), false);
    int value = 10;
    DDX_hexa4(&dx, 1002, value);
    EXPECT_EQ(Text(m_edit1002), "000A");
    value = 0x1ABCD;
    DDX_hexa4(&dx, 1002, value);
    EXPECT_EQ(Text(m_edit1002), "1ABCD");
}

TEST_F(DataExchangeTest, Hexa4ReadsHexadecimal)
{
    CDataExchange dx(m_dialog.get(), true);
    int value = 0;
    m_edit1002->setText(QString::fromLatin1("00ff"));
    DDX_hexa4(&dx, 1002, value);
    EXPECT_EQ(value, 0xFF);
    m_edit1002->setText(QString::fromLatin1("xyz"));
    DDX_hexa4(&dx, 1002, value);
    EXPECT_EQ(value, 0xFF);
}

TEST_F(DataExchangeTest, AFloatEditIsAnEditBoxToo)
{
    auto* floatEdit = new CFloatEdit(m_dialog.get());
    floatEdit->setObjectName(QString::fromLatin1("1003"));
    CDataExchange dx(m_dialog.get(), false);
    float value = 2.25f;
    DDX_float(&dx, 1003, value);
    EXPECT_EQ(Text(floatEdit), "2.25");
}

TEST_F(DataExchangeTest, AMissingControlLeavesTheMemberAndIsTraced)
{
    TraceCapture traces;
    CDataExchange dx(m_dialog.get(), true);
    float value = 1.5f;
    DDX_float(&dx, 4242, value);
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(traces.Text(), "DDX: pas de contr\xF4le 4242\n");
    int hexa = 3;
    DDX_hexa4(nullptr, 1001, hexa);
    EXPECT_EQ(hexa, 3);
}

}  // namespace
}  // namespace tarvic::test
