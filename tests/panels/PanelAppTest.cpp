// What a panel program is to the desktop before its dialog opens.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include "PanelFixture.h"
#include "common/PanelApp.h"
#include "varnok/VarnokVariant.h"

TEST(PanelApp, NamedAfterItsStationAndQtSpeaksFrenchToo)
{
    EnsureApplication();
    const QString before = QApplication::applicationName();
    SetUpPanelApp(*qApp, VarnokVariant());
    EXPECT_EQ(QApplication::applicationName().toStdString(), "Varnok");
    // The buttons of Qt's own boxes, in English before.
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Annuler");
    EXPECT_EQ(QLocale().language(), QLocale::French);
    QApplication::setApplicationName(before);
}
