#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tarvic/elements/EidElement.h"

// The setpoint generator: a step, a ramp, a sine or a trapezoidal motion
// profile, or one of two kinds the card selects by a mode command alone. For
// the ramp, the sine and the trapezoid the PC computes a table of at most 512
// points and the period the card plays it at, and downloads it in blocks of 32
// points. "GENE" drives the closed loop's setpoint, "GENE1" the open-loop
// command. On the percent benches ('D', 'N') levels are percentages of the
// output full scale; on the others they are card units.
class TARVIC_EXPORT CGeneFonction : public CEidElement {
    TARVIC_DECLARE_SERIAL(CGeneFonction)

public:
    // Kinds of signal (`TypeSignal`).
    enum : std::uint8_t { Echelon = 0, Rampe = 1, Sinus = 2, Trapeze = 6 };
    static constexpr int kMaxPoints = 512;
    static constexpr int kPointsParBloc = 32;
    // Resource numbers of the kind names: 200 + kind, with the exceptions
    // below; the library registers French defaults for all eight.
    static constexpr int kNomsSignaux = 200;

    // For an archive load: the named generator's defaults, without a group name.
    CGeneFonction();
    // "GENE" or "GENE1": parameters from the profile section LitGrp().
    explicit CGeneFonction(std::string name);
    // Parameters of `other`; the table is not copied and must be recalculated.
    explicit CGeneFonction(const CGeneFonction* other);

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

    // Table calculations; each writes its trace file in the working directory
    // ("rampe.txt", "trap.txt") and its figures to the debug output.
    void CalculRampe();
    void CalculSinus();
    void CalculTrap();
    // The next 32-point block line of the download, "" after the last.
    std::string StrBloc();
    void SetGainRampe(int n);

    int BlocCourant = 0;          // next block to send
    int NbBlocs = 0;              // blocks of the current table
    float RETARD = 0.0f;          // delay before the signal, s
    std::uint8_t TypeSignal = 0;  // 0 step, 1 ramp, 2 sine, 3 and 4 mode commands, 5 none, 6 trapezoid
    char TypeSortie = 0;          // "GENE1" on a card-unit bench: 'T' voltage, 'C' current, 0 none
    float ECHELON = 0.0f;         // step value; final value of ramp and trapezoid; centre of the sine
    float RAMPE = 10.0f;          // ramp slope or trapezoid speed, per second
    float FREQUENCE = 1.0f;       // sine frequency, Hz
    float C_REPOS = 0.0f;         // rest (start) value
    float AMPLITUDE = 10.0f;      // sine amplitude
    float ACCELERATION = 20.0f;   // trapezoid acceleration, per second squared
    std::vector<std::int16_t> TablePoints;
    int NbPoints = 0;
    float TE_PT = 500.0f;     // point period of ramp and trapezoid tables, ms
    float TE_SINUS = 500.0f;  // point period of sine tables, ms
    float TE = 100.0f;        // card sampling period, ms
    float GainAcceleration = 1.0f;
    std::string UniteValeur;
    std::string UniteVitesse;
    std::string UniteAcceleration;
    float GainRampe = 1.0f;
    float GainValeur = 1.0f;
    int Option = 0;  // kept for the application

private:
    bool ModeDirect() const { return TestSynum(); }
    bool EstGene1() const { return m_grp == "GENE1"; }
    // What the card receives for a level: itself, or a percentage of the
    // output full scale (evaluated in double, as all the generator's arithmetic).
    double NiveauCarte(float x) const;
    void ViderTable();
    // Direct-mode conversions of levels, slope and acceleration between what
    // the user sees and what is stored (`conversion` is a kind of parameter).
    float VersStocke(int conversion, float v) const;
    float VersAffiche(int conversion, float stored) const;
    std::string CmdNiveau(const char* direct, const char* gene1, float value) const;
    std::string NomSignal() const;
    std::string TexteValeurs(bool enLigne, int decimales) const;
};
