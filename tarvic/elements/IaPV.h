#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"
#include "tarvic/elements/Motorise.h"

// The motor and load bench ('I'): a motor with an incremental encoder against
// a programmable load whose torque follows a law of a dry-friction term, a
// constant torque, a term proportional to speed and one proportional to the
// square of speed. The law is kept in card units and shown in physical ones.
class TARVIC_EXPORT CIaPV : public CEidElement {
    TARVIC_DECLARE_SERIAL(CIaPV)

public:
    CIaPV();
    // Takes over the settings of `other`; measurements start afresh.
    explicit CIaPV(const CIaPV* other);

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

private:
    CMotorise Moteur();
    // Parameters 110 to 113: the load-law terms between card and physical units.
    float LitTermeCharge(int n);
    void SetTermeCharge(int n, float v);

    std::int32_t m_cdeMoteur = 'C';
    std::int32_t m_cdeCharge = 'T';
    float m_periode = 0.0f;  // speed sampling period, card ticks
    SMesuresMoteur m_mesures;
    std::uint16_t m_cmmp = 0;
    std::uint16_t m_cmmv = 0;
    float m_m4 = 0.0f;
    std::int16_t m_caxx = 0;    // speed-squared term
    std::int16_t m_cax = 0;     // speed term
    std::int16_t m_ce = 0;      // constant torque
    std::int16_t m_compFs = 0;  // dry friction
    std::int8_t m_cnfCc = 0;    // bit 0 dry friction, 1 constant torque, 2 speed, 3 speed squared; 0 natural load
    std::int8_t m_numU2 = 0;
    std::int8_t m_numU1 = 0;
    SUnitesMoteur m_unites;
};
