#pragma once

#include <cstdint>
#include <string>

#include "tarvic/elements/EidElement.h"

// The PID controller that runs on the interface card. The PC turns the user's
// gain and times into the card's fixed-point coefficients, selects the actions
// and the loop wiring, and reads the controller's internal values back.
class TARVIC_EXPORT CPid : public CEidElement {
    TARVIC_DECLARE_SERIAL(CPid)

public:
    // Parameters from the profile section LitGrp() ("...PID") and "FERZ"/"TE".
    CPid();
    // Settings of `other`; the values read back and the mode flags start cleared.
    explicit CPid(const CPid* other);

    void Serialize(CArchive& ar) override;

    char LitBRetour() override;
    bool LitEtat(int n, int& v) override;
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

    char SourceRetour = 'I';    // feedback source letter
    char SourceCommande = 'I';  // command routing letter
    char TypeSortie = 0;        // 'T' voltage output, 'C' current output, else none
    bool RZI = false;
    bool ModeRD = false;        // "RD" when set, "RS" when clear
    float TE = 100.0f;          // sampling period, ms
    float KS = 1.0f;            // output gain K2, in card units
    float KF = 1.0f;            // derivative filter factor (alpha)
    float TD = 50.0f;           // derivative time, s
    float TI = 100.0f;          // integral time, s
    float KP = 1.0f;            // proportional gain K1
    std::uint8_t Actions = 0;   // 0x01 P, 0x02 I, 0x04 D, 0x08 D on the measurement, 0x80 card flag
    float ValeursPid[3] = {};   // last "APID" reply
    float ValeursVS[4] = {};    // last "AVS" reply
    std::string Unite = "inc";  // unit of the quantity K2 divides
    float Echelle = 1.0f;       // user K2 = KS / Echelle

private:
    std::string CmdGains() const;
    std::string CmdIntegrale() const;
    std::string CmdDerivee() const;
    std::string CmdFiltre() const;
    float PoleFiltre() const;
    void EcritProfil(const char* entry, float value) const;
};
