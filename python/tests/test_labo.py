"""Le travail de labo : identifier, régler, le relais ; les résultats du --json de la console."""

import json

import numpy as np
import pytest

import tarvic
from tarvic._resultats import en_objets
from conftest import VITESSE, console

# Le réservoir vide reste vide tant que la carte attend : le module et la console partent du même état.
NIVEAU = ["--banc", "niveaueau"]
IDENTIFICATION = [*NIVEAU, "--mode", "bo", "--echelon", "50", "--duree", "400", "--identifier", "--regle", "imc"]


def ecarts(a, b, chemin="resultats"):
    """Où deux résultats diffèrent, au bit près : la même forme, les mêmes textes, les mêmes nombres.

    La carte simulée court avec l'horloge, mais un essai planifié s'y joue sur
    sa propre horloge : le repos jugé bloc par bloc, l'essai lancé par le
    redémarrage de la boucle, qui part avec le générateur, l'enregistrement et
    le bruit ensemble, et fini sur le bloc qui le dit fini. Tant que le repos
    laisse le procédé là où il le prend (le réservoir vide), le module et la
    console font le même essai.
    """
    if isinstance(a, dict) and isinstance(b, dict):
        if list(a) != list(b):
            return [f"{chemin} : cl\u00e9s {list(a)} / {list(b)}"]
        return [e for k in a for e in ecarts(a[k], b[k], f"{chemin}.{k}")]
    if isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        return [e for i, (x, y) in enumerate(zip(a, b)) for e in ecarts(x, y, f"{chemin}[{i}]")]
    if isinstance(a, np.ndarray) and isinstance(b, np.ndarray):
        return [] if np.array_equal(a, b) else [f"{chemin} : {a} / {b}"]
    return [] if type(a) is type(b) and a == b else [f"{chemin} : {a!r} / {b!r}"]


def forme(valeur):
    """Les clés, les textes et les types d'un résultat, sans ses nombres."""
    if isinstance(valeur, dict):
        return {cle: forme(v) for cle, v in valeur.items()}
    if isinstance(valeur, list):
        return [forme(v) for v in valeur]
    return valeur if isinstance(valeur, (str, bool)) or valeur is None else type(valeur).__name__


def de_la_console(tmp_path, *options):
    fait = console(*options, "--vitesse", str(VITESSE), "--json", str(tmp_path / "console.json"),
                   profil=tmp_path / "console.ini")
    assert fait.returncode == 0, fait.stderr
    return en_objets(json.loads((tmp_path / "console.json").read_text()))


def identifier(banc):
    banc.mode("bo")
    return banc.identifier(400, progression=False, echelon=50, regle="imc")


def test_identifier_rend_le_json_de_la_console(tmp_path, banc):
    essai = identifier(banc)
    attendu = de_la_console(tmp_path, *IDENTIFICATION)
    assert forme(essai.resultats) == forme(attendu)
    assert ecarts(essai.resultats, attendu) == []
    assert essai.modele is essai.resultats["modele"]
    assert essai.modele["type"] == "premier_ordre_retard"
    assert isinstance(essai.reglages, list) and essai.reglages[0]["regle"] == "zn"
    # La règle choisie est écrite dans le profil du mode en boucle fermée.
    applique = essai.resultats["reglage_applique"]
    assert (applique["regle"], applique["correcteur"]) == ("imc", "PI")
    banc.mode("pid")
    assert banc.parametres()["kp"] == pytest.approx(applique["kp"], abs=5e-4)


def test_la_boucle_fermee_reglee_est_predite_et_comparee(tmp_path):
    # Chacun sur une carte neuve, le réservoir vide, avec le modèle de son profil.
    with tarvic.Banc("niveaueau", vitesse=VITESSE, profil=tmp_path / "banc.ini") as banc:
        identifier(banc)
    with tarvic.Banc("niveaueau", vitesse=VITESSE, profil=tmp_path / "banc.ini") as banc:
        banc.mode("pid")
        essai = banc.essai(160, progression=False, predire=True, echelon=50)
    de_la_console(tmp_path, *IDENTIFICATION)
    attendu = de_la_console(tmp_path, *NIVEAU, "--mode", "pid", "--echelon", "50", "--duree", "160", "--predire")
    assert forme(essai.resultats) == forme(attendu)
    assert ecarts(essai.resultats, attendu) == []
    assert essai.resultats["comparaison"]["iae"] > 0
    assert "Mesur\u00e9 et pr\u00e9dit :" in str(essai)


def test_relais_rend_ku_et_pu_de_la_console(tmp_path, banc):
    banc.mode("tor")
    essai = banc.relais(400, progression=False)
    attendu = de_la_console(tmp_path, "--banc", "niveaueau", "--mode", "tor", "--duree", "400", "--relais")
    # Le relais part de son bas avec la boucle, l'enregistrement avec lui : la même réponse, les mêmes Ku et Pu.
    assert forme(essai.resultats) == forme(attendu)
    assert ecarts(essai.resultats, attendu) == []
    assert essai.resultats["pu_s"] == 3.0 and essai.resultats["ku"] > 0
