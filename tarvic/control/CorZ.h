#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"

// The card's discrete (z-domain) corrector: four C and three B coefficients
// sent in one fixed-point command, with the loop wiring, action byte and
// period of the other controllers; reads back the card's four loop values.
class TARVIC_EXPORT CCorZ : public CEidElement {
    TARVIC_DECLARE_SERIAL(CCorZ)

public:
    // Coefficients from the profile section LitGrp() ("...CorZ"), period from "FERZ"/"TE".
    CCorZ();
    // Settings of `other`; values and mode flag start cleared.
    explicit CCorZ(const CCorZ* other);

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
    float EchelleSortie = 3276.0f;   // scale of the fourth "AVS" value
    float EchelleValeurs = 3276.0f;  // scale of the first three values
    char SourceRetour = 'I';
    char SourceCommande = 'I';
    bool ModeRD = false;
    std::uint8_t Actions = 0;  // 0x80 only: the low bits are never set here
    float ValeursVS[4] = {};
    std::array<float, 4> coefC = {1.0f, 1.0f, 1.0f, 1.0f};  // C0 to C3
    std::array<float, 3> coefB = {1.0f, 1.0f, 1.0f};        // shown as B1 to B3

private:
    // Parameters 17 to 20 and 21 to 23, with their profile entries; null for other numbers.
    float* Coefficient(int n, std::string& entree);
};
