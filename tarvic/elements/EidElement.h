#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tarvic/platform/Object.h"

namespace tarvic {
class Profile;
}

// Common base of every element of a bench's object model: the benches, the
// controllers and setpoint generators, and the recording. It knows which bench
// and mode it belongs to (read from the profile at construction), where its
// settings live in the profile, the two full-scale values, and the contract
// through which the controlling application configures it, asks it for
// measurement requests, hands it the card's replies and reads it back.
class TARVIC_EXPORT CEidElement : public CObject {
    TARVIC_DECLARE_SERIAL(CEidElement)

public:
    // Bench and mode from the profile: "TYPE"/"PO" (default 'D'), "TYPE"/"REGULATEUR" (default 0).
    CEidElement();
    // Copies group, mode prefix, process letter and full scales; reads no profile.
    explicit CEidElement(const CEidElement* other);
    ~CEidElement() override;

    void Serialize(CArchive& ar) override;

    virtual void InitValeur();
    virtual char LitBRetour();
    virtual bool LitEtat(int n, int& v);
    virtual void LitMinMax(int n, float& min, float& max);
    virtual std::string LitConfiguration(int layout);
    virtual bool LitCParam(int n, int& v);
    virtual float LitSonde(int n);
    virtual bool TraitRecept(std::string reply);
    virtual std::string DmdMesure(int n);
    virtual bool LitFParam(int n, float& v);
    virtual bool SetFParam(int n, float v);
    virtual bool SetCParam(int n, char ch);
    virtual std::string ConfFerz(int n);
    virtual int NbParam();

    // Mode prefix followed by group name: the profile section of a controller or generator.
    std::string LitGrp() const;
    int LitProcess() const;
    // True on the benches that take card values directly ('S', 'I', 'X').
    bool TestSynum() const;

protected:
    // Profile access for derived elements. Float entries are texts read with a
    // "%f" scan; an entry that does not scan gives the default text's value.
    static std::shared_ptr<tarvic::Profile> Profil();
    static float LitProfilFloat(const std::string& section, const std::string& entry, const char* defaultText);
    static void EcritProfilFloat(const std::string& section, const std::string& entry, const char* format, float value);

    std::string m_mode;      // "%c_MODE%d_", e.g. "D_MODE1_"
    std::string m_grp;       // group name and profile section of the element
    std::int32_t m_process;  // process letter: 'D', 'I', 'N', 'S' or 'X'
    float m_fsSortie;        // output full scale
    float m_fsEntree;        // input full scale
};
