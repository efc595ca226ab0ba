"""Les réglages : les noms, les limites et les messages de la console, gardés dans le profil."""

import pytest

import tarvic
from conftest import VITESSE


def test_parametres_rend_ceux_du_mode_et_les_garde(tmp_path, banc):
    banc.mode("pid")
    assert banc.parametres(kp=3, ti=12.5) is None
    valeurs = banc.parametres()
    assert (valeurs["kp"], valeurs["ti"]) == (3.0, 12.5)
    assert list(valeurs)[:5] == ["kp", "ti", "td", "kf", "ks"]
    banc.fermer()
    with tarvic.Banc("niveaueau", vitesse=VITESSE, profil=tmp_path / "banc.ini") as relu:
        relu.mode("pid")
        assert relu.parametres()["kp"] == 3.0
    assert "\nKP=3.000\n" in (tmp_path / "banc.ini").read_text(encoding="latin-1")


def test_le_mode_en_boucle_ouverte_n_a_pas_de_pid(banc):
    banc.mode("bo")
    assert "kp" not in banc.parametres()


@pytest.mark.parametrize(
    "appel, message",
    [
        (lambda b: b.mode("xx"), "Mode inconnu pour le banc niveaueau : xx (pid, bo, tor, corz)."),
        (lambda b: b.mode("pid", commande="vanne"), "Commande inconnue pour le banc niveaueau : vanne (pompe)."),
        (lambda b: b.parametres(kp=1e9), "--kp 1000000000 : hors limites, de 0,001 \u00e0 63,999."),
        (lambda b: b.parametres(kp=float("nan")), "Valeur invalide pour --kp : \u00ab nan \u00bb."),
        (lambda b: b.parametres(zz=2), "Param\u00e8tre inconnu : zz (banc.parametres() donne ceux du banc)."),
        (lambda b: b.essai(0), "--duree 0.0 : hors limites, plus de 0 s."),
        (lambda b: b.essai(10, signal="carre"), "Signal inconnu : carre (echelon, rampe, sinus, trapeze)."),
        (lambda b: b.identifier(100), "--identifier fait un \u00e9chelon en boucle ouverte : --mode bo, pas pid."),
        (lambda b: b.essai(10, regle="xx"),
         "R\u00e8gle inconnue : xx (zn, cc, chr0, chr20, broida, imc, simc, zn_relais, tl)."),
    ],
)
def test_ce_que_la_console_refuse_leve_value_error_avec_son_message(banc, appel, message):
    banc.mode("pid")
    with pytest.raises(ValueError) as erreur:
        appel(banc)
    assert str(erreur.value) == message


def test_un_parametre_d_un_autre_banc(tmp_path):
    with tarvic.Banc("debitair", vitesse=VITESSE, profil=tmp_path / "air.ini") as banc:
        with pytest.raises(ValueError) as erreur:
            banc.parametres(**{"ci-pompe": 1})
    assert str(erreur.value) == "Le param\u00e8tre --ci-pompe n'existe pas sur le banc debitair."


def test_un_refus_ne_change_rien_au_profil(banc):
    banc.mode("pid")
    banc.parametres(kp=2)
    with pytest.raises(ValueError):
        banc.parametres(ti=15, kp=1e9)
    assert (banc.parametres()["kp"], banc.parametres()["ti"]) == (2.0, 8.0)


@pytest.mark.parametrize(
    "appel, message",
    [
        (lambda p: tarvic.Banc(3), "nom : une cha\u00eene est attendue, pas int."),
        (lambda p: tarvic.Banc("niveaueau", vitesse="vite"), "vitesse : un nombre est attendu, pas str."),
        (lambda p: tarvic.Banc("niveaueau", graine=1.5), "graine : un entier est attendu, pas float."),
        (lambda p: tarvic.Banc("niveaueau", port=5), "port : un chemin est attendu, pas int."),
    ],
)
def test_les_mauvais_types_levent_type_error(tmp_path, appel, message):
    with pytest.raises(TypeError) as erreur:
        appel(tmp_path)
    assert str(erreur.value) == message


def test_les_mauvais_types_des_reglages(banc):
    banc.mode("pid")
    with pytest.raises(TypeError, match="^kp : un nombre est attendu, pas str\\.$"):
        banc.parametres(kp="2")
    with pytest.raises(TypeError, match="^kp : un nombre est attendu, pas bool\\.$"):
        banc.essai(10, kp=True)
    with pytest.raises(TypeError, match="^signal : une cha\u00eene est attendue, pas int\\.$"):
        banc.essai(10, signal=1)


def test_les_options_du_banc_que_la_console_refuse(tmp_path):
    with pytest.raises(ValueError) as erreur:
        tarvic.Banc("xyz")
    assert str(erreur.value) == "Banc inconnu : xyz (niveaueau, debitair, axnum, iapv, synum)."
    with pytest.raises(ValueError) as erreur:
        tarvic.Banc("niveaueau", vitesse=0)
    assert str(erreur.value) == "--vitesse 0.0 : hors limites, plus de 0 et jusqu'\u00e0 10000."
    with pytest.raises(ValueError) as erreur:
        tarvic.Banc("niveaueau", port=tmp_path / "carte", bruit=1)
    assert str(erreur.value) == "--vitesse, --bruit et --graine ne valent que pour la carte simul\u00e9e, pas avec --port."
