#include "cli/HelpText.h"

#include <tarvic/Version.h>
#include <tarvic/platform/Text.h>

#include "cli/ExitStatus.h"
#include "cli/Resolve.h"
#include "engine/model/Benches.h"
#include "engine/model/Parameter.h"
#include "net/MqttOptions.h"

namespace banc::cli {
namespace {

std::string Entry(const std::string& option, const std::string& text)
{
    return tarvic::Format("  %-22s %s\n", option.c_str(), text.c_str());
}

std::string ParameterEntries(const std::vector<ParameterDef>& parameters)
{
    std::string text;
    for (const auto& def : parameters) text += Entry(std::string("--") + def.name + " V", def.help);
    return text;
}

std::string BenchEntries()
{
    std::string text;
    for (const auto& bench : Benches()) {
        text += tarvic::Format("  %s (%s) : --mode %s ; --commande %s ; --mesure %s\n", bench.name, bench.title,
                               NameList(bench.modes).c_str(), NameList(bench.commands).c_str(),
                               NameList(bench.measures).c_str());
        text += ParameterEntries(bench.parameters);
    }
    return text;
}

// Every mode name once, with its controller.
std::string ModeEntries()
{
    std::string text, seen;
    for (const auto& bench : Benches())
        for (const auto& mode : bench.modes) {
            if (seen.find(std::string(" ") + mode.name + " ") != std::string::npos) continue;
            seen += std::string(" ") + mode.name + " ";
            std::string what = mode.controller->label;
            if (mode.measure) what += tarvic::Format(" de la %s", mode.measure);
            text += Entry(std::string("  ") + mode.name, what);
        }
    return text;
}

}  // namespace

std::string HelpText()
{
    return "Usage : tarvic-banc --banc NOM [OPTION]...\n"
           "        tarvic-banc --banc NOM --mode bo --identifier [--regle NOM]\n"
           "        tarvic-banc --banc NOM --mode pid [--regle NOM] --predire\n"
           "        tarvic-banc --banc NOM --bode [--fmin F --fmax F] [--points N]\n"
           "        tarvic-banc --ouvrir ARCHIVE [--csv FICHIER] [--png FICHIER]\n"
           "        tarvic-banc --liste | --essai N | --comparer N,M,... | --commentaire N TEXTE | --supprimer N\n"
           "Fait un essai de r\xE9gulation sur un banc : configure la carte, lance la boucle et\n"
           "l'enregistrement, montre l'avancement et la mesure, puis r\xE9sume la r\xE9ponse\n"
           "(valeur finale, d\xE9passement, temps de mont\xE9" "e et d'\xE9tablissement \xE0 5 %).\n"
           "Sans --port, l'essai se fait sur la carte simul\xE9" "e du banc, lanc\xE9" "e pour l'occasion.\n"
           "\n"
           "Bancs :\n" +
           BenchEntries() +
           "\n"
           "Essai :\n" +
           Entry("--banc NOM", "le banc (ci-dessus)") +
           Entry("--mode NOM", "le mode (le premier du banc par d\xE9" "faut) :") + ModeEntries() +
           Entry("--commande NOM", "o\xF9 va la commande (la premi\xE8re du banc par d\xE9" "faut)") +
           Entry("--mesure NOM", "la grandeur mesur\xE9" "e et r\xE9gul\xE9" "e (celle du mode par d\xE9" "faut)") +
           Entry("--actions LETTRES",
                 "actions du PID : P, I, D, et M (d\xE9riv\xE9" "e sur la mesure) ; PI par d\xE9" "faut") +
           Entry("--signal NOM", "consigne : " + NameList(SignalKinds())) +
           Entry("--duree S", "dur\xE9" "e de l'enregistrement, arrondie aux blocs entiers") +
           "\n"
           "Param\xE8tres (noms du profil ; les limites de chaque \xE9l\xE9ment s'appliquent ; sur les bancs\n"
           "motoris\xE9s, les consignes sont dans les unit\xE9s du banc : tr/min, \xB0, mA) :\n" +
           ParameterEntries(CommonParameters()) +
           "\n"
           "Identification et r\xE9glage :\n" +
           Entry("--identifier", "en boucle ouverte (--mode bo) : tient le repos jusqu'\xE0 une") +
           Entry("", "mesure stable, fait l'\xE9" "chelon, s'arr\xEAte une fois la r\xE9ponse") +
           Entry("", "\xE9tablie (au plus --duree) ; donne les mod\xE8les, les r\xE9glages") +
           Entry("", "sugg\xE9r\xE9s et leur r\xE9ponse pr\xE9" "dite, et garde le mod\xE8le au profil") +
           Entry("--stabilisation S",
                 "dur\xE9" "e du repos avant l'\xE9" "chelon ou le sinus (sinon : mesure stable)") +
           Entry("--relais", "essai de relais (TOR autour de la consigne) : Ku, Pu") +
           Entry("", "et les r\xE9glages de Ziegler-Nichols et Tyreus-Luyben") +
           Entry("--regle NOM", "\xE9" "crit au profil le r\xE9glage de la r\xE8gle (kp, ti, td, kf, ks,") +
           Entry("", "actions du mode pid) : zn, cc, chr0, chr20, broida, imc,") +
           Entry("", "simc ; zn_relais, tl avec --relais ; en mode pid, depuis") +
           Entry("", "le mod\xE8le gard\xE9 par --identifier, avant l'essai") +
           Entry("--correcteur TYPE", "P, PI (par d\xE9" "faut) ou PID") +
           Entry("--lambda S", "imc : constante de temps voulue en boucle ferm\xE9" "e") +
           Entry("", "(par d\xE9" "faut 0,8 retard, au moins 0,1 constante de temps)") +
           Entry("--tau-c S", "simc : constante de temps voulue (par d\xE9" "faut le retard)") +
           Entry("--predire", "en boucle ferm\xE9" "e : la r\xE9ponse pr\xE9" "dite par le mod\xE8le gard\xE9") +
           Entry("", "avant l'essai, puis mesur\xE9" "e et pr\xE9" "dite c\xF4te \xE0 c\xF4te") +
           "\n"
           "R\xE9ponse fr\xE9quentielle :\n" +
           Entry("--bode", "en boucle ouverte (mode bo par d\xE9" "faut) : un sinus de la commande") +
           Entry("", "par fr\xE9quence, r\xE9gime \xE9tabli puis p\xE9riodes enti\xE8res mesur\xE9" "es ;") +
           Entry("", "gain, phase, distorsion, et les marges du PID du profil") +
           Entry("--fmin F, --fmax F", "bornes en Hz (sinon de 0,1/tau \xE0 10/tau rad/s du mod\xE8le gard\xE9)") +
           Entry("--points N", "nombre de fr\xE9quences, espac\xE9" "es en log (12)") +
           Entry("--amplitude A", "amplitude du sinus, % de la commande (10)") +
           Entry("--repos R", "commande autour de laquelle il oscille, % (50)") +
           "\n"
           "Carte :\n" +
           Entry("--port PORT", "un port s\xE9rie (COM1 \xE0 COM96, ou /dev/ttyUSB0...)") +
           Entry("--vitesse K", "la carte simul\xE9" "e va K fois plus vite que l'horloge") +
           Entry("--bruit P", "bruit de mesure de la carte simul\xE9" "e, % de l'\xE9" "tendue") +
           Entry("--graine N", "graine du bruit, pour refaire le m\xEAme essai") +
           Entry("--delai-reponse MS", "silence de la carte avant de redemander (2000)") +
           "\n"
           "R\xE9sultats :\n" +
           Entry("--csv FICHIER", "les courbes en CSV (virgule, point d\xE9" "cimal), \xE9" "crit bloc par bloc") +
           Entry("--csv-format NOM", "rfc4180 (par d\xE9" "faut) ou fr, pour un tableur en fran\xE7" "ais :") +
           Entry("", "point-virgule, virgule d\xE9" "cimale, UTF-8 avec BOM") +
           Entry("--png FICHIER", "le trac\xE9 de la consigne, de la mesure et de la commande") +
           Entry("--archive FICHIER", "l'essai enregistr\xE9, relu par --ouvrir") +
           Entry("--json FICHIER", "tout ce que l'essai a donn\xE9, pour un script (UTF-8)") +
           Entry("", "avec --bode : la table, le diagramme de Bode, bode et marges") +
           Entry("--ouvrir ARCHIVE", "relit un essai enregistr\xE9 (avec --csv, --png, --archive)") +
           "\n"
           "Historique (chaque essai qui a acquis un bloc y est gard\xE9, termin\xE9 ou non) :\n" +
           Entry("--historique FICHIER", "la base (~/.local/share/tarvic/essais.sqlite)") +
           Entry("--etudiant NOM", "l'utilisateur sous qui l'essai est gard\xE9 (le login)") +
           Entry("--liste", "les essais gard\xE9s, du plus r\xE9" "cent au plus ancien ;") +
           Entry("", "avec --banc NOM, --depuis AAAA-MM-JJ[ HH:MM]") +
           Entry("--essai N", "le r\xE9sum\xE9 de l'essai N, et ses --csv, --png, --archive, --json") +
           Entry("--comparer N,M,...",
                 "2 \xE0 10 essais c\xF4te \xE0 c\xF4te ; --png : leurs mesures superpos\xE9" "es") +
           Entry("--rapport FICHIER.pdf", "avec --essai ou --comparer : le rapport \xE0 rendre, en PDF A4") +
           Entry("--commentaire N TEXTE", "garde un commentaire avec l'essai N") +
           Entry("--supprimer N", "supprime l'essai N et dit ce qu'il \xE9tait") + "\n" + net::MqttOptionsHelp() +
           "La salle peut arr\xEAter l'essai (comme Ctrl-C) ou envoyer un message, \xE9" "crit sur la sortie\n"
           "d'erreur ; rien d'autre n'est pris du r\xE9seau.\n" +
           "\n"
           "Profil :\n" +
           Entry("--profil FICHIER", "le profil des r\xE9glages (~/.config/tarvic/tarvic-banc-BANC.ini)") +
           Entry("--usine", "remet les r\xE9glages d'usine du banc avant l'essai") +
           "Les param\xE8tres et les actions donn\xE9s restent dans le profil pour les essais suivants.\n"
           "\n" +
           tarvic::Format(
               "Code de sortie : %d essai fait, %d d\xE9" "faut de la carte ou de la liaison pendant l'essai\n"
               "(les blocs acquis sont gard\xE9s), %d ligne de commande refus\xE9" "e, %d port, carte\n"
               "simul\xE9" "e ou fichier inaccessible, ou carte inutilisable (muette d\xE8s la premi\xE8re\n"
               "ligne, ou qui la refuse : la carte d'une station ou d'un autre banc), %d essai\n"
               "interrompu (Ctrl-C, kill, terminal ferm\xE9 ou ordre de la salle : blocs acquis gard\xE9s).\n"
               "Ordres de l'historique : %d fait, %d ligne refus\xE9" "e, %d base inutilisable ou essai "
               "inexistant.\n",
               kExitDone, kExitCardFault, kExitUsage, kExitUnavailable, kExitInterrupted, kExitDone, kExitUsage,
               kExitUnavailable);
}

std::string VersionText() { return "tarvic-banc " TARVIC_VERSION_STRING "\n"; }

}  // namespace banc::cli
