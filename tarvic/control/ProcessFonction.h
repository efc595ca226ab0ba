#pragma once

#include <string>

#include "tarvic/elements/EidElement.h"

// Reads three analog values of the process through numbered requests
// ("AEBC0" to "AEBC2") and keeps the last value of each; sends no configuration.
class TARVIC_EXPORT CProcessFonction : public CEidElement {
public:
    explicit CProcessFonction(std::string name);

    bool LitCParam(int n, int& v) override;
    bool TraitRecept(std::string reply) override;
    std::string DmdMesure(int n) override;
    bool SetCParam(int n, char ch) override;
    std::string ConfFerz(int n) override;
    int NbParam() override;

    float ValeursAEBC[3] = {};
};
