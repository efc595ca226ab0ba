#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/Analogique.h"
#include "tarvic/elements/EidElement.h"

// The water level bench: a pump driven through an analog output, two level
// measurements and a flow measurement on analog inputs. Keeps the channel
// assignment and the independent pump command, in percent.
class TARVIC_EXPORT CNiveauEau : public CEidElement {
    TARVIC_DECLARE_SERIAL(CNiveauEau)

public:
    // Reads the channels from the "NIVEAUEAU" section; the pump command starts at 0.
    CNiveauEau();
    // Takes over the settings of `other`; the readings start at 0.
    explicit CNiveauEau(const CNiveauEau* other);
    ~CNiveauEau() override;

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

protected:
    std::int32_t m_cDebit = 0;       // analog output of the pump
    std::int32_t m_mesureNiv1 = 1;   // analog input of level 1
    std::int32_t m_mesureNiv2 = 2;   // analog input of level 2
    std::int32_t m_mesureDebit = 0;  // analog input of the flow
    CAnalogique m_analog;            // last "ASBC" and "AEBC" readings
    float m_ciPompe = 0.0f;          // independent pump command, percent; not kept in the profile
    std::uint8_t m_affichage = 1;    // bit 0: list the pump command
};
