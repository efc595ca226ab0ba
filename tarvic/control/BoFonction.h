#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"

// The open-loop function block: no control law, only the routing of the
// open-loop command (the card's "O" block), one action bit and the reading of
// the command value.
class TARVIC_EXPORT CBoFonction : public CEidElement {
    TARVIC_DECLARE_SERIAL(CBoFonction)

public:
    CBoFonction();  // group "BO"
    explicit CBoFonction(std::string name);
    explicit CBoFonction(const CBoFonction* other);

    void Serialize(CArchive& ar) override;

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

    std::uint8_t Actions = 0;     // 0x80 or 0
    char SourceCommande = 'I';    // 'I' not routed, 'D', 'P', 'F', 'T'
    char TypeSortie = 0;          // 'T' voltage output, another letter current, 0 none
    float TE = 100.0f;            // sampling period, ms
    float ValeursVS[4] = {};      // last "AVS" reply, unconverted
    float ValeurCommande = 0.0f;  // last "ACO" reply

private:
    // The bench letter in force now, not the one of construction.
    static int ProcessCourant();
};
