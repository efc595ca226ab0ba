#include "tarvic/control/Boucle.h"

#include "tarvic/elements/Encoding.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

namespace tarvic::boucle {
namespace {

// The bench's routed command letter and its two feedback letters.
struct LettresBanc {
    char commande;
    char retour1;
    char retour2;
};

bool LettresDuBanc(int process, std::string_view routedBenches, LettresBanc& lettres)
{
    if (process == 'D') {
        lettres = {'D', 'D', 'T'};
        return true;
    }
    if (process == 'N') {
        lettres = {'P', 'P', '1'};
        return true;
    }
    if (process > 0 && process < 256 && routedBenches.find(static_cast<char>(process)) != std::string_view::npos) {
        lettres = {'F', 'V', 'P'};
        return true;
    }
    return false;
}

}  // namespace

char ChoixCommande(char ch, int process, std::string_view routedBenches, char current)
{
    if (ch == 0) return 'I';
    if (ch != 1) return 'T';
    LettresBanc lettres{};
    return LettresDuBanc(process, routedBenches, lettres) ? lettres.commande : current;
}

char ChoixRetour(char ch, int process, std::string_view routedBenches, char current)
{
    if (ch == 0) return 'I';
    if (ch != 1 && ch != 2) return '2';
    LettresBanc lettres{};
    if (!LettresDuBanc(process, routedBenches, lettres)) return current;
    return ch == 1 ? lettres.retour1 : lettres.retour2;
}

void MetBit(std::uint8_t& actions, std::uint8_t mask, char ch)
{
    actions = static_cast<std::uint8_t>(ch == 1 ? actions | mask : actions & ~mask);
}

void EchellesDuBanc(int process, float& echelleSortie, float& echelleValeurs)
{
    echelleSortie = process == 'S' ? 256.0f : 3276.0f;
    echelleValeurs = process == 'S' ? 32768.0f : 3276.0f;
}

float LitTE() { return static_cast<float>(GetProfile()->GetProfileInt("FERZ", "TE", 100)); }

void EcritTE(float te) { GetProfile()->WriteProfileInt("FERZ", "TE", TruncateToInt(te)); }

std::string CmdType(int kind, unsigned char actions) { return Format("RTRE%d", kind) + Hex2(actions); }

std::string CmdPeriode(float te) { return "RER" + Hex4(TruncateToInt(te)); }

std::string CmdCablage(int process, char commande, char retour)
{
    return Format("DCP%cF%c%c", static_cast<char>(process), commande, retour);
}

std::string CmdModeRD(bool modeRD) { return modeRD ? "RD" : "RS"; }

std::string FragmentCablage(char commande, char retour) { return Format("F%c%c", commande, retour); }

std::string FragmentActions(int kind, unsigned char actions) { return Format("%d", kind) + Hex2(actions); }

std::string FragmentPeriode(float te) { return Hex4(TruncateToInt(te)); }

bool TraitAVS(std::string_view reply, bool longValues, bool percent, float echelleValeurs, float echelleSortie,
              float (&valeurs)[4])
{
    const int at = Find(reply, "AVS");
    if (at < 0) return false;
    std::ptrdiff_t pos = at + 3;
    for (int i = 0; i < 4; ++i) {
        std::int32_t raw = 0;
        const bool wide = longValues && i < 2;
        const bool read = wide ? ReadField32(reply, pos, raw) : ReadField16(reply, pos, raw);
        pos += wide ? 8 : 4;
        if (!read) continue;
        double value = raw;
        if (percent && !wide) {
            const float echelle = i == 3 ? echelleSortie : echelleValeurs;
            if (i == 3 && value > echelle) value = echelle;
            value = value / echelle * 100;
        }
        valeurs[i] = static_cast<float>(value);
    }
    return true;
}

const TextesProcessus kProcessusEnLigne = {
    "\\gProcessus:\\n ",
    "Commande Temp\xE9rature",
    "Commande D\xE9" "bit",
    "\\gProcessus:\\n Commande Isol\xE9" "e\\n ",
    ", Mesure de la temp\xE9rature",
    ", Mesure du d\xE9" "bit",
    ", Liaison mesure ouverte",
};

std::string DescriptionProcessus(char commande, char retour, const TextesProcessus& textes)
{
    std::string text;
    if (commande != 'I') {
        text += textes.entete;
        if (commande == 'T') text += textes.temperature;
        if (commande == 'D') text += textes.debit;
    } else {
        text += textes.isolee;
    }
    if (retour == 'T') text += textes.retourTemperature;
    if (retour == 'D') text += textes.retourDebit;
    if (retour == 'I') text += textes.retourOuvert;
    return text;
}

}  // namespace tarvic::boucle
