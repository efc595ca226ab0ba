#include "window/ActionBar.h"

#include <tarvic/platform/FontMap.h>
#include <tarvic/widgets/IconButton.h>

#include <algorithm>

#include "window/FlowLayout.h"
#include "window/Latin1.h"

// The icons are resources of this library, which a program linking it statically must load.
static void LoadIcons() { Q_INIT_RESOURCE(icons); }

namespace banc::window {
namespace {

struct ActionLook {
    Action action;
    unsigned icon;  // resource number, ":/icons/<n>.xpm"
    const char* caption;
    const char* tip;
};
constexpr ActionLook kActions[] = {
    {Action::Download, 101, "&T\xE9l\xE9" "charger", "Envoyer la configuration \xE0 la carte"},
    {Action::Start, 102, "&D\xE9marrer", "T\xE9l\xE9" "charger, lancer la boucle et enregistrer"},
    {Action::Stop, 103, "A&rr\xEAter", "Arr\xEAter l'essai, en gardant ce qui est acquis"},
    {Action::Open, 104, "&Ouvrir", "Ouvrir un essai enregistr\xE9"},
    {Action::Save, 105, "&Enregistrer", "Enregistrer l'essai affich\xE9"},
    {Action::ExportCsv, 106, "&CSV", "Exporter les courbes en CSV"},
    {Action::ExportPng, 107, "&PNG", "Exporter le trac\xE9 en PNG"},
    {Action::Identify, 108, "&Identifier",
     "Identifier le processus sur l'essai en boucle ouverte et sugg\xE9rer des r\xE9glages"},
    {Action::Sweep, 109, "R\xE9ponse &fr\xE9quentielle",
     "Balayer la commande en sinus de fr\xE9quences croissantes et tracer le diagramme de Bode"},
};
constexpr int kButtonHeight = 40, kIconSize = 24;
// Around the icon and the caption: the icon stands 6 from the edge, the caption is centred beside it.
constexpr int kButtonMargins = 24, kNarrowest = 72;

// As wide as its icon and its caption in the font the buttons draw with: the bar fits a small screen.
int ButtonWidth(const QString& caption)
{
    const auto* font = dynamic_cast<const CFont*>(GetStockObject(DEFAULT_GUI_FONT));
    const int text = tarvic::FontTextExtent(font->GetLogFont(), Latin1(QString(caption).remove('&'))).cx;
    return std::max(kNarrowest, kIconSize + text + kButtonMargins);
}

}  // namespace

ActionBar::ActionBar(QWidget* parent) : QWidget(parent)
{
    LoadIcons();
    // The buttons wrap on a narrow screen.
    auto* layout = new FlowLayout(this);
    for (const ActionLook& look : kActions) {
        auto* button = new CIconButton(Q(look.caption), this);
        button->setObjectName(Q(look.caption).remove('&'));
        button->SetIconID(look.icon);
        button->SetIconSize(kIconSize, kIconSize);
        button->SetTipText(look.tip);
        button->setFixedSize(ButtonWidth(Q(look.caption)), kButtonHeight);
        connect(button, &QPushButton::clicked, this, [this, action = look.action] { emit triggered(action); });
        m_buttons[static_cast<std::size_t>(look.action)] = button;
        layout->addWidget(button);
        if (look.action == Action::Stop || look.action == Action::ExportPng) layout->AddGap(kButtonHeight / 2);
    }
}

bool Allowed(Action action, bool connected, bool running, bool identifiable)
{
    switch (action) {
    case Action::Download:
    case Action::Start:
    case Action::Sweep: return connected && !running;
    case Action::Stop: return running;
    case Action::Open: return !running;
    case Action::Identify: return identifiable;
    case Action::Save:
    case Action::ExportCsv:
    case Action::ExportPng: break;
    }
    return true;
}

void ActionBar::SetState(bool connected, bool running, bool identifiable)
{
    for (const ActionLook& look : kActions) {
        CIconButton* button = Button(look.action);
        const bool on = Allowed(look.action, connected, running, identifiable);
        if (button->isEnabled() == on) continue;
        on ? button->Enable() : button->Disable();
    }
}

}  // namespace banc::window
