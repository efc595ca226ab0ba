#pragma once

#include <gtest/gtest.h>

#include <QLocale>

#include <memory>
#include <string>

#include "tarvic/widgets/FloatEdit.h"

namespace tarvic::test {

// A float edit made under the "C" locale ('.' and ','), or under `locale`.
class FloatEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousLocale = QLocale();
        QLocale::setDefault(QLocale::c());
        m_edit = std::make_unique<CFloatEdit>();
    }
    void TearDown() override
    {
        m_edit.reset();
        QLocale::setDefault(m_previousLocale);
    }

    void MakeUnder(const QLocale& locale)
    {
        QLocale::setDefault(locale);
        m_edit = std::make_unique<CFloatEdit>();
    }
    std::string Text() const { return m_edit->text().toLatin1().toStdString(); }
    std::string Shown(double value)
    {
        m_edit->SetValue(value);
        return Text();
    }

    std::unique_ptr<CFloatEdit> m_edit;

private:
    QLocale m_previousLocale;
};

}  // namespace tarvic::test
