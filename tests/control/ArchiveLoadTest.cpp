#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "ControlFixture.h"
#include "tarvic/control/BoFonction.h"
#include "tarvic/control/CorZ.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/control/Pid.h"
#include "tarvic/control/Tor.h"

using tarvic::test::Charge;
using tarvic::test::Stocke;

namespace {

class ControllerArchiveTest : public tarvic::test::ControlTest {};

// The records of two elements of one class with different settings: a load
// of any part of the second must leave an element holding the first as it was.
struct Cas {
    const char* classe;
    std::string avant;
    std::string record;
};

std::unique_ptr<CObject> Pid(float kp, float td, std::uint8_t actions)
{
    auto pid = std::make_unique<CPid>();
    pid->KP = kp;
    pid->TI = kp * 10.0f;
    pid->TD = td;
    pid->KF = td * 2.0f;
    pid->Actions = actions;
    return pid;
}

std::unique_ptr<CObject> Tor(float seuil)
{
    auto tor = std::make_unique<CTor>();
    tor->RBN = -seuil;
    tor->RBP = seuil;
    tor->SourceCommande = 'T';
    return tor;
}

std::unique_ptr<CObject> CorZ(float coef)
{
    auto corz = std::make_unique<CCorZ>();
    corz->coefC = {coef, -coef, 0.5f, 0.25f};
    corz->coefB = {coef * 2.0f, 0.0f, -1.0f};
    return corz;
}

std::unique_ptr<CObject> Bo(char commande, float te)
{
    auto bo = std::make_unique<CBoFonction>();
    bo->SourceCommande = commande;
    bo->TE = te;
    return bo;
}

std::unique_ptr<CObject> Gene(char type, float echelon)
{
    auto gene = std::make_unique<CGeneFonction>("GENE");
    gene->SetFParam(0, echelon);
    gene->SetCParam(0, type);
    return gene;
}

std::vector<Cas> TousLesCas()
{
    return {
        {"CPid", Stocke(*Pid(2.0f, 5.0f, 0x07)), Stocke(*Pid(8.0f, 1.0f, 0x0D))},
        {"CTor", Stocke(*Tor(5.0f)), Stocke(*Tor(20.0f))},
        {"CCorZ", Stocke(*CorZ(1.5f)), Stocke(*CorZ(-3.0f))},
        {"CBoFonction", Stocke(*Bo('D', 20.0f)), Stocke(*Bo('T', 250.0f))},
        {"CGeneFonction", Stocke(*Gene(CGeneFonction::Rampe, 50.0f)), Stocke(*Gene(CGeneFonction::Sinus, 20.0f))},
    };
}

std::unique_ptr<CObject> Charge(const char* classe, const std::string& record)
{
    std::unique_ptr<CObject> element(CRuntimeClass::FromName(classe)->CreateObject());
    EXPECT_TRUE(Charge(*element, record)) << classe;
    return element;
}

}  // namespace

TEST_F(ControllerArchiveTest, EveryShortRecordFailsAndChangesNothing)
{
    for (const Cas& cas : TousLesCas()) {
        ASSERT_NE(cas.record, cas.avant) << cas.classe;
        for (std::size_t longueur = 0; longueur < cas.record.size(); ++longueur) {
            const auto element = Charge(cas.classe, cas.avant);
            EXPECT_FALSE(Charge(*element, cas.record.substr(0, longueur))) << cas.classe << " " << longueur;
            EXPECT_EQ(Stocke(*element), cas.avant) << cas.classe << " " << longueur;
        }
        EXPECT_EQ(Stocke(*Charge(cas.classe, cas.record)), cas.record) << cas.classe;
    }
}

TEST_F(ControllerArchiveTest, APidCutAfterItsGainsKeepsAWorkingDerivative)
{
    CPid pid;
    pid.Actions = 0x07;
    pid.ModeRD = true;
    pid.RZI = true;
    const std::string derivee = pid.ConfFerz(4);
    const std::string filtre = pid.ConfFerz(5);
    CPid autre;
    autre.KP = 4.0f;
    autre.TI = 7.0f;
    // Up to TI: the derivative time and its filter are missing.
    const std::string record = Stocke(autre).substr(0, 3 + 4 * 5);
    EXPECT_FALSE(Charge(pid, record));
    EXPECT_EQ(pid.KP, 1.0f);
    EXPECT_EQ(pid.TI, 100.0f);
    EXPECT_EQ(pid.TD, 50.0f);
    EXPECT_EQ(pid.KF, 1.0f);
    EXPECT_EQ(pid.Actions, 0x07);
    EXPECT_TRUE(pid.ModeRD);
    EXPECT_TRUE(pid.RZI);
    EXPECT_EQ(pid.ConfFerz(4), derivee);
    EXPECT_EQ(pid.ConfFerz(5), filtre);
}
