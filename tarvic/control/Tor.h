#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"

// The card's on/off controller: two thresholds around the setpoint, the loop
// wiring of the other controllers and one action bit; reads back the card's
// four loop values.
class TARVIC_EXPORT CTor : public CEidElement {
    TARVIC_DECLARE_SERIAL(CTor)

public:
    // Thresholds from the profile section LitGrp() ("...TOR"), period from "FERZ"/"TE".
    CTor();
    // Settings of `other`; values and mode flag start cleared.
    explicit CTor(const CTor* other);

    void Serialize(CArchive& ar) override;

    char LitBRetour() override;
    void LitMinMax(int n, float& min, float& max) override;
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

    float TE = 100.0f;               // sampling period, ms
    float RBN = -10.0f;              // negative threshold
    float RBP = 10.0f;               // positive threshold
    float EchelleSortie = 3276.0f;   // scale of the fourth "AVS" value
    float EchelleValeurs = 3276.0f;  // scale of the thresholds and of the first three values
    char SourceRetour = 'I';
    char SourceCommande = 'I';
    bool ModeRD = false;
    std::uint8_t Actions = 0;  // 0x80 only: the low bits are never set here
    float ValeursVS[4] = {};

private:
    std::string ChampSeuil(float seuil) const;
};
