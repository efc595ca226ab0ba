"""La réponse fréquentielle : banc.bode rend le --bode --json de la console, en tableaux numpy."""

import json
import math
import os
import signal
import subprocess
import sys
import textwrap

import numpy as np
import pytest

import tarvic
from conftest import VITESSE, console
from tarvic._resultats import en_objets

# Quatre fréquences sur le réservoir, autour de 50 % de commande.
BORNES = {"fmin": 0.005, "fmax": 0.05, "points": 4}
OPTIONS = ["--banc", "niveaueau", "--bode", "--fmin", "0.005", "--fmax", "0.05", "--points", "4"]


def de_la_console(tmp_path, *options):
    fait = console(*options, "--vitesse", str(VITESSE), "--json", str(tmp_path / "console.json"),
                   profil=tmp_path / "console.ini")
    assert fait.returncode == 0, fait.stderr
    return en_objets(json.loads((tmp_path / "console.json").read_text()))


def refus_de_la_console(tmp_path, *options):
    fait = console(*options, "--vitesse", str(VITESSE), profil=tmp_path / "console.ini")
    assert fait.returncode == 2, fait.stderr
    return fait.stderr.strip().removeprefix("tarvic-banc : ")


@pytest.fixture
def bode(banc):
    return banc.bode(**BORNES, progression=False)


def test_bode_rend_le_json_de_la_console(tmp_path, bode):
    attendu = de_la_console(tmp_path, *OPTIONS)
    assert list(bode.resultats) == list(attendu)
    # Ce que la console a prévu et la carte joue est le même, au bit près.
    for cle in ("banc", "mode", "commande", "mesure", "unite_mesure", "unite_gain", "repos_pct", "amplitude_pct",
                "complet", "manquantes_hz"):
        assert bode.resultats[cle] == attendu[cle], cle
    assert [list(point) for point in bode.resultats["bode"]] == [list(point) for point in attendu["bode"]]
    for cle in ("frequence_hz", "pulsation_rad_s", "fiable", "remarque"):
        assert [p[cle] for p in bode.resultats["bode"]] == [p[cle] for p in attendu["bode"]], cle
    # Chaque fréquence part, la boucle tournant, quand ses lignes arrivent à la carte, qui court
    # avec l'horloge : le réservoir y est pris où la précédente l'a laissé, à un instant qui
    # bouge d'un balayage à l'autre, console comprise (jusqu'à 2 % du gain, 0,4° de phase).
    assert [p["gain"] for p in bode.resultats["bode"]] == pytest.approx(
        [p["gain"] for p in attendu["bode"]], rel=5e-2)
    assert [p["phase_deg"] for p in bode.resultats["bode"]] == pytest.approx(
        [p["phase_deg"] for p in attendu["bode"]], abs=2)
    assert [p["distorsion_pct"] for p in bode.resultats["bode"]] == pytest.approx(
        [p["distorsion_pct"] for p in attendu["bode"]], abs=1)
    assert bode.resultats["marges"]["phase_deg"] == pytest.approx(attendu["marges"]["phase_deg"], abs=2)


def test_les_tableaux_sont_les_points_du_json(bode):
    points = bode.resultats["bode"]
    assert len(bode) == 4 and bode.complet and bode.statut == "fini" and not bode.interrompu
    for tableau, cle in ((bode.frequences_hz, "frequence_hz"), (bode.pulsations_rad_s, "pulsation_rad_s"),
                         (bode.gains, "gain"), (bode.gains_db, "gain_db"), (bode.phases_deg, "phase_deg"),
                         (bode.distorsions_pct, "distorsion_pct")):
        assert isinstance(tableau, np.ndarray) and tableau.dtype == np.float64
        np.testing.assert_array_equal(tableau, [point[cle] for point in points])
    np.testing.assert_array_equal(bode.fiables, [True] * 4)
    assert bode.remarques == [""] * 4
    assert bode.manquantes_hz.shape == (0,)
    # La pulsation est 2 pi f, le gain en dB 20 log10 du gain.
    np.testing.assert_allclose(bode.pulsations_rad_s, 2 * math.pi * bode.frequences_hz, rtol=1e-15)
    np.testing.assert_allclose(bode.gains_db, 20 * np.log10(bode.gains), rtol=1e-12)
    assert bode.unite_gain == "%/%"
    # Sans modèle gardé, les bornes sont données : pas de courbe du modèle.
    assert bode.modele is None and bode.courbe_modele is None
    # Le PID du profil ferme la boucle : ses marges et sa boucle ouverte aux fréquences mesurées.
    assert bode.marges is bode.resultats["marges"]
    np.testing.assert_array_equal(bode.boucle_ouverte["frequences_hz"][:3], bode.frequences_hz[:3])
    assert repr(bode) == "<Bode niveaueau bo : 4/4 fr\u00e9quences, fini>"
    lignes = str(bode).splitlines()
    assert lignes[0] == "R\u00e9ponse fr\u00e9quentielle, Niveau d'eau, boucle ouverte :"
    assert lignes[7] == "Boucle ferm\u00e9e par le correcteur du profil :"
    assert len(lignes) == 10


def test_la_courbe_du_modele_garde(tmp_path):
    with tarvic.Banc("debitair", vitesse=100, profil=tmp_path / "banc.ini") as banc:
        banc.mode("bo")
        modele = banc.identifier(60, progression=False).modele
        bode = banc.bode(points=2, progression=False)
    # Les bornes viennent du modèle : de 0,1/tau à 10/tau rad/s.
    tau, gain, retard = modele["constante_temps_s"], modele["gain"], modele["retard_s"]
    assert bode.modele == {cle: modele[cle] for cle in bode.modele}
    courbe = bode.courbe_modele
    f = courbe["frequences_hz"]
    assert len(f) == 120 and f[0] == bode.frequences_hz[0] and f[-1] == bode.frequences_hz[-1]
    # Un premier ordre retardé : K / (1 + j w tau) e^(-j w retard).
    w = 2 * math.pi * f
    np.testing.assert_allclose(courbe["gains"], gain / np.sqrt(1 + (w * tau) ** 2), rtol=1e-9)
    np.testing.assert_allclose(courbe["gains_db"], 20 * np.log10(gain / np.sqrt(1 + (w * tau) ** 2)), rtol=1e-9)
    np.testing.assert_allclose(courbe["phases_deg"], np.degrees(-np.arctan(w * tau) - w * retard), atol=1e-9)


def test_hors_boucle_ouverte_le_message_de_la_console(tmp_path, banc):
    banc.mode("pid")
    with pytest.raises(ValueError) as erreur:
        banc.bode(**BORNES, progression=False)
    assert str(erreur.value) == refus_de_la_console(tmp_path, *OPTIONS, "--mode", "pid")


def test_une_borne_seule_le_message_de_la_console(tmp_path, banc):
    with pytest.raises(ValueError) as erreur:
        banc.bode(fmin=0.01, progression=False)
    assert str(erreur.value) == refus_de_la_console(tmp_path, "--banc", "niveaueau", "--bode", "--fmin", "0.01")


def test_des_bornes_a_l_envers_le_message_de_la_console(tmp_path, banc):
    with pytest.raises(ValueError) as erreur:
        banc.bode(0.05, 0.002, progression=False)
    assert str(erreur.value) == refus_de_la_console(tmp_path, "--banc", "niveaueau", "--bode", "--fmin", "0.05",
                                                   "--fmax", "0.002")


def test_les_mauvais_types(banc):
    with pytest.raises(TypeError) as erreur:
        banc.bode(0.002, 0.05, points="4")
    assert str(erreur.value) == "points : un entier est attendu, pas str."
    with pytest.raises(TypeError) as erreur:
        banc.bode("0.002", 0.05)
    assert str(erreur.value) == "fmin : un nombre est attendu, pas str."
    with pytest.raises(ValueError) as erreur:
        banc.bode(0.002, 0.05, gain=2)
    assert str(erreur.value) == "Param\u00e8tre inconnu : gain (banc.parametres() donne ceux du banc)."


SCRIPT = textwrap.dedent("""
    import sys
    import tarvic
    import tarvic._banc

    class Signale:
        dit = False

        def __init__(self, *options):
            pass

        def __call__(self, mesurees, prevues):
            if mesurees >= 1 and not Signale.dit:
                Signale.dit = True
                print("premiere frequence", flush=True)

        def fermer(self):
            pass

    tarvic._banc.Progression = Signale
    with tarvic.Banc("niveaueau", port=sys.argv[1], profil=sys.argv[2]) as banc:
        try:
            banc.bode(0.01, 0.05, 4)
        except tarvic.EssaiInterrompu as interruption:
            bode = interruption.essai
            print(bode.statut, bode.interrompu, 1 <= len(bode) < 4, len(bode) + len(bode.manquantes_hz),
                  bode.resultats["complet"], isinstance(interruption, KeyboardInterrupt), flush=True)
""")


def test_ctrl_c_arrete_le_balayage_et_garde_les_points(tmp_path, carte):
    simulee = carte("--bench", "niveaueau", "--speed", "400")
    balayage = subprocess.Popen([sys.executable, "-c", SCRIPT, str(simulee.lien), str(tmp_path / "a.ini")],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=os.environ)
    assert balayage.stdout.readline() == "premiere frequence\n"
    balayage.send_signal(signal.SIGINT)
    sortie, erreurs = balayage.communicate(timeout=30)
    assert balayage.returncode == 0, erreurs
    assert sortie == "interrompu True True 4 False True\n"
    # La dernière ligne reçue arrête la boucle, et rien ne la suit.
    assert simulee.lignes_recues()[-1] == "!RS"


class ArretCarte:
    """Une progression qui suspend la carte dès la première fréquence mesurée."""

    processus = None

    def __init__(self, *options):
        pass

    def __call__(self, mesurees, prevues):
        if mesurees >= 1 and self.processus.poll() is None:
            self.processus.send_signal(signal.SIGSTOP)

    def fermer(self):
        pass


def test_une_carte_qui_se_tait_garde_les_frequences_mesurees(tmp_path, carte, monkeypatch):
    simulee = carte("--bench", "niveaueau", "--speed", "400")
    ArretCarte.processus = simulee.processus
    monkeypatch.setattr(tarvic._banc, "Progression", ArretCarte)
    with tarvic.Banc("niveaueau", port=simulee.lien, profil=tmp_path / "a.ini") as banc:
        with pytest.raises(tarvic.CarteMuette) as erreur:
            banc.bode(**BORNES)
    bode = erreur.value.essai
    assert isinstance(bode, tarvic.Bode) and bode.statut == "muette" and not bode.complet
    assert 1 <= len(bode) < 4 and len(bode) + len(bode.manquantes_hz) == 4
    assert str(erreur.value).startswith("La carte ne r\u00e9pond plus : \u00ab ")


def test_une_commande_saturee_est_dite_et_ses_points_marques(tmp_path):
    options = ["--banc", "debitair", "--bode", "--fmin", "0.1", "--fmax", "0.5", "--points", "2", "--repos", "95"]
    fait = console(*options, "--vitesse", "100", profil=tmp_path / "console.ini")
    assert fait.returncode == 0, fait.stderr
    avertissement = [ligne for ligne in fait.stderr.splitlines() if ligne.startswith("tarvic-banc : La commande sature")]
    assert len(avertissement) == 1
    with tarvic.Banc("debitair", vitesse=100, profil=tmp_path / "banc.ini") as banc:
        with pytest.warns(RuntimeWarning) as dits:
            bode = banc.bode(0.1, 0.5, 2, progression=False, repos=95)
    assert [str(dit.message) for dit in dits] == [avertissement[0].removeprefix("tarvic-banc : ")]
    np.testing.assert_array_equal(bode.fiables, [False, False])
    assert [remarque.split(",")[0] for remarque in bode.remarques] == ["commande satur\u00e9e"] * 2
