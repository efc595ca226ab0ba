#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tarvic/elements/EidElement.h"
#include "tarvic/recording/BlocPoint.h"

// The recording element. It drives the card's block acquisition (status
// request "TEM", block request "TSF"), keeps every block as raw values and
// converts any point of any curve into an engineering value on demand, for
// plotting and simple measurements.
//
// A curve is named by a code: as a rule a printable character from '2' to 'c'
// naming a card measurement, or a plain row number 0 to 15. Which row holds it
// and how it scales depend on the bench (TestSynum).
class TARVIC_EXPORT CEnregistrement : public CEidElement {
    TARVIC_DECLARE_SERIAL(CEnregistrement)

public:
    // "NB_BLOC" (20), "MODE" ('O') and "TEM" (100) from the profile section "ENREGISTREMENT".
    CEnregistrement();
    // Deep copy of the blocks and settings; stopped, nothing pending, no curve selected.
    explicit CEnregistrement(const CEnregistrement* other);
    ~CEnregistrement() override;

    void Serialize(CArchive& ar) override;
    bool TraitRecept(std::string reply) override;
    std::string DmdMesure(int n) override;
    bool LitFParam(int n, float& v) override;
    bool SetFParam(int n, float v) override;
    bool SetCParam(int n, char ch) override;
    std::string ConfFerz(int n) override;
    int NbParam() override;

    // The block request for the current block, once until a block is accepted or rejected.
    std::string LitBloc();
    std::string LitBloc(int n);
    // 0 selected curves, 1 block ready, 2 block count, 3 mode, 4 cycles, 5 current block.
    int LitParam(int i) const;
    bool LitStart() const;
    // true empties the recording and starts again at block 0; false only stops the requests.
    void SetStart(bool b);
    void SetMode(int m);
    // Duration of one block of 32 points, in the unit of the waiting time.
    int LitTempsAttente() const;
    int LitNbPoint() const;

    // on = 1 selects the curve (again), anything else removes its first selection.
    void SetPoint(int code, int on, std::string label);
    int LitNum(int i) const;
    bool TestBloc(int code) const;

    // Engineering value of point `index` (over the whole recording) of a curve;
    // 0.0 for a point not acquired or a code that is no curve.
    float LitPoint(int code, int index) const;
    // Widens [min, max] by steps of 10 until every one of the first `count` points lies strictly inside.
    void CalculMinMax(int code, int count, float& min, float& max) const;
    // The first selected curve whose point lies within 5 of v: v takes its value.
    bool RecherchePoint(int index, float& v) const;
    // Scanning back from start to stop: mode 0 the settling index, mode 1 the peak index.
    int RechercheRang(int mode, int code, int start, int stop, float tol) const;
    // Unit factors of the position, speed and acceleration curves on the card-unit benches.
    void CalculGain(int position, int vitesse, int acceleration, float counts, float period);
    // Axis number the controlling application draws a curve on.
    int LitAxe(int code) const;
    void ExportTxt(std::string path);

private:
    int RangCourbe(int code) const;
    float ConvFloat(int code, std::int32_t raw) const;
    void TraitEtat(const std::string& reply, int position);
    void TraitBloc(const std::string& reply, int position);
    void RejetteBloc(int longueur);
    std::unique_ptr<CBlocPoint> DecodeBloc(const std::string& reply, int debut) const;
    void BlocSuivant();

    std::int32_t m_reserve = 0;
    std::int32_t m_nbCycle = 0;
    std::uint16_t m_tempsAttente = 100;
    bool m_start = false;
    std::int32_t m_modeEnr = 'O';
    bool m_blocPret = false;
    std::int32_t m_numBloc = 0;
    std::int32_t m_nbBloc = 20;
    std::vector<std::unique_ptr<CBlocPoint>> m_blocs;
    std::vector<std::int32_t> m_courbes;
    bool m_charge = false;
    bool m_dmdBloc = false;
    bool m_dmdEtat = false;
    float m_gainAcc = 1.0f;
    float m_gainVit = 1.0f;
    float m_gainPos = 1.0f;
    char m_mesure7 = 0;
};
