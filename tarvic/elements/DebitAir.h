#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tarvic/elements/Analogique.h"
#include "tarvic/elements/EidElement.h"

// The air flow and temperature bench: two analog outputs command the flow and
// the heating, analog inputs measure the flow and the temperature. Keeps the
// channel assignment, the channels' configuration codes and the two
// independent (open-loop) commands, in percent.
class TARVIC_EXPORT CDebitAir : public CEidElement {
    TARVIC_DECLARE_SERIAL(CDebitAir)

public:
    // Reads the channels, codes and commands from the "DEBITAIR" section.
    CDebitAir();
    // Takes over the settings of `other`; the readings start at 0.
    explicit CDebitAir(const CDebitAir* other);
    ~CDebitAir() override;

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
    float m_ciTemp = 0.0f;                                          // independent temperature command, percent
    float m_ciDebit = 0.0f;                                         // independent flow command, percent
    std::int32_t m_cmdDebit = 0;                                    // analog output of the flow command
    std::int32_t m_cmdTemp = 1;                                     // analog output of the heating command
    std::int32_t m_mesureDebit = 0;                                 // analog input of the flow
    std::int32_t m_mesureTemp = 1;                                  // analog input of the temperature
    std::array<std::int32_t, CAnalogique::NbEntrees> m_confEntree;  // configuration code by input
    std::array<std::int32_t, CAnalogique::NbSorties> m_confSortie;  // configuration code by output, sent in "DFS"
    float m_mesDebit = 0.0f;                                        // last "AMD" value, percent
    CAnalogique m_analog;                                           // last "ASBC" and "AEBC" readings
    std::uint8_t m_affichage = 3;  // bit 0: list the flow command, bit 1: the temperature command
};
