#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"
#include "tarvic/elements/Motorise.h"

// The electrically loaded machine bench ('S'): a motor with an incremental
// encoder loaded by an adjustable electrical load, set in percent.
class TARVIC_EXPORT CSynum : public CEidElement {
    TARVIC_DECLARE_SERIAL(CSynum)

public:
    CSynum();
    // Takes over the settings of `other`; measurements start afresh.
    explicit CSynum(const CSynum* other);

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

    std::int32_t m_cdeMoteur = 'C';
    std::int32_t m_cdeCharge = 'T';
    float m_periode = 0.0f;  // speed sampling period, card ticks
    float m_chargeE = 0.0f;  // electrical load, percent
    SMesuresMoteur m_mesures;
    std::uint16_t m_cmmp = 0;
    std::uint16_t m_cmmv = 0;
    SUnitesMoteur m_unites;
};
