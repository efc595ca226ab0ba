#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "RecordingSupport.h"
#include "support/LineCollector.h"
#include "support/PtyPeer.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Text.h"
#include "tarvic/recording/Enregistrement.h"

using namespace std::chrono_literals;
using tarvic::test::PtyPeer;
using tarvic::test::Valeurs;

namespace {

// A scripted card with two blocks: the first status request finds block 0 not
// ready yet, and the first answer for block 1 is cut short.
class CarteScriptee {
public:
    explicit CarteScriptee(PtyPeer& pair) : m_pair(pair)
    {
        m_fil = std::thread([this] { Boucle(); });
    }
    ~CarteScriptee()
    {
        m_fin = true;
        m_fil.join();
    }

    std::vector<std::string> Requetes()
    {
        std::lock_guard verrou(m_verrou);
        return m_requetes;
    }

    static Valeurs Bloc(int numero)
    {
        Valeurs valeurs{};
        for (int point = 0; point < 32; ++point) {
            valeurs[5][point] = static_cast<std::uint16_t>(numero * 32 + point);  // 'F': the point index
            valeurs[1][point] = 0x0FFF;                                           // -1 in 12 bits
        }
        return valeurs;
    }

private:
    void Boucle()
    {
        std::string recu;
        bool dejaPasPret = false;
        bool dejaCoupe = false;
        while (!m_fin) {
            recu += m_pair.ReceiveFor(20ms);
            for (int fin = tarvic::Find(recu, "\r\n"); fin >= 0; fin = tarvic::Find(recu, "\r\n")) {
                const std::string requete = tarvic::Mid(recu, 1, fin - 1);
                recu = tarvic::Mid(recu, fin + 2);
                {
                    std::lock_guard verrou(m_verrou);
                    m_requetes.push_back(requete);
                }
                std::uint32_t numero = 0;
                tarvic::ScanHexField(requete, 3, 2, numero);
                if (tarvic::Find(requete, "TEM") == 0) {
                    const char statut = (numero == 0 && !std::exchange(dejaPasPret, true)) ? 'N' : 'O';
                    m_pair.Send(tarvic::Format("!TEM%2.2X%c\r\n", numero, statut));
                } else if (tarvic::Find(requete, "TSF") == 0) {
                    std::string ligne =
                        tarvic::test::LigneBloc(static_cast<int>(numero), Bloc(static_cast<int>(numero)));
                    if (numero == 1 && !std::exchange(dejaCoupe, true)) ligne = tarvic::Mid(ligne, 0, 1000);
                    m_pair.Send(ligne + "\r\n");
                }
            }
        }
    }

    PtyPeer& m_pair;
    std::atomic<bool> m_fin{false};
    std::mutex m_verrou;
    std::vector<std::string> m_requetes;
    std::thread m_fil;
};

}  // namespace

TEST(AcquisitionPtyTest, TwoBlocksFromAScriptedCardThroughTheSerialThread)
{
    tarvic::test::ProfilBanc banc('X');
    banc.Profil().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 2);
    tarvic::test::TraceCapture traces;
    PtyPeer pair;
    CarteScriptee carte(pair);
    // The serial thread keeps the lines; the application's thread hands them to
    // the recording, which has no lock.
    tarvic::test::LineCollector com(pair.SlavePath());
    com.m_traite = true;
    ASSERT_TRUE(com.CreateThread());
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return com.m_portOuvert == 1; }));

    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    // The controlling application's polling loop.
    std::size_t traitees = 0;
    const auto limite = std::chrono::steady_clock::now() + 10s;
    while (enregistrement.LitStart() && std::chrono::steady_clock::now() < limite) {
        const std::vector<std::string> lignes = com.Lines();
        for (; traitees < lignes.size(); ++traitees) enregistrement.TraitRecept(lignes[traitees]);
        const std::string requete =
            enregistrement.LitParam(1) == 1 ? enregistrement.LitBloc() : enregistrement.DmdMesure(0);
        if (!requete.empty()) com.Send("?" + requete + "\r\n");
        std::this_thread::sleep_for(1ms);
    }
    com.ExitInstance();

    EXPECT_FALSE(enregistrement.LitStart());
    EXPECT_EQ(enregistrement.LitParam(5), 2);
    EXPECT_EQ(enregistrement.LitNbPoint(), 64);
    for (int index = 0; index < 64; ++index) {
        EXPECT_EQ(enregistrement.LitPoint('F', index), static_cast<float>(index)) << index;
        EXPECT_EQ(enregistrement.LitPoint(1, index), -1.0f) << index;
    }
    EXPECT_EQ(carte.Requetes(), (std::vector<std::string>{"TEM00", "TEM00", "TSF00", "TEM01", "TSF01", "TSF01"}));
    EXPECT_EQ(traces.Count("str_len=2056\n"), 2);
    EXPECT_EQ(traces.Count("str_len=1000\n"), 1);
    EXPECT_EQ(traces.Count("erreur->str_len=1000\n"), 1);
}
