#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"
#include "tarvic/elements/Motorise.h"

// The numerical positioning axis bench ('X'): a motor with an incremental
// encoder moving a carriage between two end positions. Besides the motor
// settings it keeps the reference positions and runs the homing and
// reference-move requests, each a single outstanding request acknowledged by
// its reply or followed through the status word.
class TARVIC_EXPORT CAxeNum : public CEidElement {
    TARVIC_DECLARE_SERIAL(CAxeNum)

public:
    // Axis states.
    enum { Repos = 0, PomDemandee = 1, PomFinie = 2, PrxDemandee = 3, PrxFinie = 4 };

    CAxeNum();
    // Takes over the settings of `other`; measurements, status and requests start afresh.
    explicit CAxeNum(const CAxeNum* other);

    void Serialize(CArchive& ar) override;
    void InitValeur() override;
    std::string LitConfiguration(int layout) override;
    bool LitCParam(int n, int& v) override;
    float LitSonde(int n) override;
    bool TraitRecept(std::string reply) override;
    std::string DmdMesure(int n) override;
    bool LitFParam(int n, float& v) override;
    bool SetFParam(int n, float v) override;
    bool SetCParam(int n, char ch) override;
    std::string ConfFerz(int n) override;
    int NbParam() override;

    bool LitPom() const;       // homing under way (status bit 8)
    bool LitMvtPr() const;     // reference move under way (bit 9)
    bool LitMvtCible() const;  // move to the target under way (bit 10)
    int LitEtatFc() const;     // the status word
    int LitEtatAxnum() const;
    void SetEtatAxnum(int etat);
    int LitDuree() const;
    void SetDuree(int duree);

private:
    CMotorise Moteur();
    // A position in user units as the card's "%8.8X" encoder count.
    std::string EnComptes(float position);
    // "XPOM" / "XPRX" issued once until answered.
    std::string Demande(const char* commande, bool& demande, bool& occupeVu, int etatDemande);
    // The reply to "XPOM" / "XPRX": an 'O' after the mnemonic says the move is under way.
    void Acquitte(const std::string& reply, int at, bool& demande, bool& occupeVu, int etatDemande, int etatFin);
    // A status reply while the move is followed: it ends at the first clear bit
    // after a busy one, or at the second clear one in a row.
    void Suit(bool enCours, bool& occupeVu, int etatDemande, int etatFin);

    // Left end, right end, rest and target positions: parameters 1005 to 1008,
    // in the order of their profile entries.
    struct SPosition {
        float CAxeNum::* champ;
        const char* entry;
        const char* defaut;
    };
    static const SPosition kPositions[4];
    static const SPosition* Position(int n);

    std::int32_t m_etatFc = 0;  // status word, 16 bits
    float m_posRepos = 0.0f;
    float m_posLd = 0.0f;
    float m_posLg = 0.0f;
    bool m_pomOccupeVu = false;
    bool m_prxOccupeVu = false;
    std::int32_t m_cdeMoteur = 'C';
    float m_periode = 0.0f;  // speed sampling period, card ticks
    SMesuresMoteur m_mesures;
    std::uint16_t m_cmmp = 0;
    std::uint16_t m_cmmv = 0;
    std::int32_t m_duree = 0;
    float m_posCible = 0.0f;
    std::int32_t m_etatAxnum = Repos;
    bool m_pomDemandee = false;
    bool m_prxDemandee = false;
    bool m_efcDemandee = false;
    SUnitesMoteur m_unites;
};
