#include "window/About.h"

#include <QMessageBox>

#include <tarvic/Version.h>

#include "window/Latin1.h"

namespace banc::window {

QString AboutText()
{
    return Q("<p><b>tarvic-banc-fenetre</b> " TARVIC_VERSION_STRING
             "</p>"
             "<p>La console des bancs d'automatique : un essai de r\xE9gulation sur l'un des cinq bancs "
             "(niveau d'eau, d\xE9" "bit d'air et temp\xE9rature, axe num\xE9rique, moteur et charge, "
             "charge \xE9lectrique), sur sa carte d'interface ou sur la carte simul\xE9" "e.</p>"
             "<p>Avec Qt ") +
           QString::fromLatin1(qVersion()) + QStringLiteral(".</p>");
}

void ShowAbout(QWidget* parent)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, Q("\xC0 propos de tarvic-banc-fenetre"), AboutText(),
                                QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("apropos"));
    box->setTextFormat(Qt::RichText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace banc::window
