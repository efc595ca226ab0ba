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
    """Où deux résultats diffèrent : la même forme, les mêmes textes, des nombres à 5 % près.

    La carte prend le départ d'un essai planifié (l'échelon après le repos)
    quand l'ordre lui arrive, entre deux de ses périodes : d'un essai à
    l'autre, console comprise, les chiffres bougent d'un peu, et d'un peu
    plus quand la machine est lente (build avec sanitizers).
    """
    if isinstance(a, dict) and isinstance(b, dict):
        if list(a) != list(b):
            return [f"{chemin} : cl\u00e9s {list(a)} / {list(b)}"]
        return [e for k in a for e in ecarts(a[k], b[k], f"{chemin}.{k}")]
    if isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        return [e for i, (x, y) in enumerate(zip(a, b)) for e in ecarts(x, y, f"{chemin}[{i}]")]
    if isinstance(a, np.ndarray) and isinstance(b, np.ndarray) and a.shape == b.shape:
        return [] if np.allclose(a, b, rtol=5e-2, atol=5e-2) else [f"{chemin} : {a} / {b}"]
    if isinstance(a, float) and isinstance(b, float):
        return [] if a == pytest.approx(b, rel=5e-2, abs=5e-2) else [f"{chemin} : {a!r} / {b!r}"]
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
    # Le modèle, sans le nombre d'itérations de l'ajustement, qu'un point de plus ou de moins change.
    sans_iterations = [{k: v for k, v in modele.items() if k != "iterations"} for modele in (essai.modele, attendu["modele"])]
    assert ecarts(*sans_iterations, "modele") == []
    assert ecarts(essai.resultats["reglage_applique"], attendu["reglage_applique"], "reglage_applique") == []
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
    assert ecarts(essai.resultats["prediction"], attendu["prediction"], "prediction") == []
    assert ecarts(essai.resume, attendu["resume"], "resume") == []
    assert essai.resultats["comparaison"]["iae"] > 0
    assert "Mesur\u00e9 et pr\u00e9dit :" in str(essai)


def test_relais_rend_ku_et_pu_de_la_console(tmp_path, banc):
    banc.mode("tor")
    essai = banc.relais(400, progression=False)
    attendu = de_la_console(tmp_path, "--banc", "niveaueau", "--mode", "tor", "--duree", "400", "--relais")
    # Le relais oscille dès son départ et s'arrête quand il a assez de périodes :
    # où l'enregistrement le prend et où il finit change la réponse, pas Ku ni Pu.
    assert forme({k: v for k, v in essai.resultats.items() if k != "resume"}) == forme(
        {k: v for k, v in attendu.items() if k != "resume"})
    for cle in ("ku", "pu_s"):
        assert essai.resultats[cle] == pytest.approx(attendu[cle], rel=5e-2), cle
    assert essai.resultats["relais"]["amplitude"] == pytest.approx(attendu["relais"]["amplitude"], rel=5e-2)
    assert essai.resultats["pu_s"] == 3.0 and essai.resultats["ku"] > 0
