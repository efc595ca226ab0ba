"""Un essai : ses tableaux sont ceux du CSV de la console pour les mêmes réglages et la même graine."""

import csv
import json

import numpy as np
import pytest

import tarvic
from conftest import VITESSE, console

# Un échelon en boucle fermée, bruité, sur quatre blocs de 32 points (16 s chacun).
REGLAGES = {"kp": 2, "ti": 20, "echelon": 50}
OPTIONS = ["--banc", "niveaueau", "--mode", "pid", "--kp", "2", "--ti", "20", "--echelon", "50", "--duree", "64",
           "--vitesse", str(VITESSE), "--bruit", "2", "--graine", "7"]


@pytest.fixture
def essai_bruite(tmp_path):
    with tarvic.Banc("niveaueau", vitesse=VITESSE, bruit=2, graine=7, profil=tmp_path / "module.ini") as banc:
        banc.mode("pid")
        return banc.essai(64, progression=False, **REGLAGES)


def lire_csv(chemin):
    with open(chemin, newline="") as fichier:
        lignes = list(csv.reader(fichier))
    return lignes[0], lignes[1:]


def test_les_tableaux_sont_les_colonnes_du_csv_de_la_console(tmp_path, essai_bruite):
    fait = console(*OPTIONS, "--csv", str(tmp_path / "console.csv"), profil=tmp_path / "console.ini")
    assert fait.returncode == 0, fait.stderr
    entete, lignes = lire_csv(tmp_path / "console.csv")
    assert entete == ["temps_s"] + essai_bruite.colonnes
    assert len(lignes) == 4 * 32 == len(essai_bruite.t)
    np.testing.assert_array_equal(essai_bruite.t, [float(ligne[0]) for ligne in lignes])
    for i, nom in enumerate(essai_bruite.colonnes, start=1):
        colonne = np.array([ligne[i] for ligne in lignes], dtype=np.float32)
        assert essai_bruite[nom].dtype == np.float32
        np.testing.assert_array_equal(essai_bruite[nom], colonne, err_msg=nom)
    # Le bruit est bien là : la mesure n'est pas la même sans lui.
    assert len(set(np.diff(essai_bruite.mesure_pct[-32:]).tolist())) > 1


def test_le_csv_et_le_json_du_module_sont_ceux_de_la_console(tmp_path, essai_bruite):
    fait = console(*OPTIONS, "--csv", str(tmp_path / "console.csv"), "--json", str(tmp_path / "console.json"),
                   profil=tmp_path / "console.ini")
    assert fait.returncode == 0, fait.stderr
    essai_bruite.csv(tmp_path / "module.csv")
    assert (tmp_path / "module.csv").read_bytes() == (tmp_path / "console.csv").read_bytes()
    essai_bruite.csv(tmp_path / "module-fr.csv", format="fr")
    assert (tmp_path / "module-fr.csv").read_bytes().startswith(b"\xef\xbb\xbftemps_s;consigne_pct;")
    attendu = json.loads((tmp_path / "console.json").read_text())
    assert essai_bruite.resume == attendu["resume"]
    assert essai_bruite.resultats["banc"] == "niveaueau" and essai_bruite.resultats["mode"] == "pid"


def test_l_archive_se_relit_avec_la_console(tmp_path, essai_bruite):
    essai_bruite.archive(tmp_path / "essai.tbc")
    essai_bruite.csv(tmp_path / "module.csv")
    fait = console("--ouvrir", str(tmp_path / "essai.tbc"), "--csv", str(tmp_path / "relu.csv"))
    assert fait.returncode == 0, fait.stderr
    assert (tmp_path / "relu.csv").read_bytes() == (tmp_path / "module.csv").read_bytes()


def test_l_essai_se_lit_par_nom_par_attribut_et_se_resume(essai_bruite):
    assert essai_bruite.complet and not essai_bruite.interrompu
    assert (essai_bruite.blocs, essai_bruite.blocs_prevus, essai_bruite.periode) == (4, 4, 0.5)
    assert essai_bruite["mesure_pct"] is essai_bruite.mesure_pct
    assert essai_bruite["temps_s"] is essai_bruite.t
    np.testing.assert_array_equal(essai_bruite.t[:3], [0.0, 0.5, 1.0])
    assert essai_bruite.consigne_pct[-1] == 50.0
    with pytest.raises(KeyError, match="Pas de courbe 'niveau' dans cet essai"):
        essai_bruite["niveau"]
    with pytest.raises(AttributeError, match="Essai n'a pas d'attribut 'niveau'"):
        essai_bruite.niveau
    assert repr(essai_bruite) == "<Essai niveaueau pid : 4/4 blocs, fini>"
    assert str(essai_bruite).startswith("Niveau d'eau, r\u00e9gulation PID\nBlocs acquis : 4 sur 4 (128 points, 64.0 s)\n")


def test_les_tableaux_sont_remis_a_numpy_sans_copie(essai_bruite):
    # Chaque tableau garde la mémoire que le noyau a remplie : numpy ne la possède pas.
    for nom in essai_bruite.colonnes:
        assert not essai_bruite[nom].flags.owndata
        assert essai_bruite[nom].base is not None
    assert not essai_bruite.t.flags.owndata


def test_to_pandas(essai_bruite):
    try:
        import pandas  # noqa: F401
    except ImportError:
        with pytest.raises(ImportError, match="to_pandas demande pandas : apt install python3-pandas"):
            essai_bruite.to_pandas()
        return
    tableau = essai_bruite.to_pandas()
    assert list(tableau.columns) == essai_bruite.colonnes
    np.testing.assert_array_equal(tableau.index.to_numpy(), essai_bruite.t)


def test_plot_trace_consigne_mesure_et_commande(essai_bruite):
    matplotlib = pytest.importorskip("matplotlib")
    matplotlib.use("Agg")
    ax = essai_bruite.plot()
    assert [ligne.get_label() for ligne in ax.get_lines()] == ["consigne_pct", "mesure_pct", "commande_pct"]
    np.testing.assert_array_equal(ax.get_lines()[1].get_ydata(), essai_bruite.mesure_pct)
    assert ax.get_xlabel() == "temps (s)"


def test_un_essai_sans_bloc_n_ecrit_rien(tmp_path, banc):
    banc.mode("pid")
    essai = banc.essai(16, progression=False)
    assert essai.blocs == 1
    essai.csv(tmp_path / "un.csv")
    assert len((tmp_path / "un.csv").read_text().splitlines()) == 33
    with pytest.raises(ValueError, match="^Format CSV inconnu : tsv \\(rfc4180, fr\\)\\.$"):
        essai.csv(tmp_path / "x.csv", format="tsv")


def test_chaque_essai_est_garde_dans_l_historique_de_la_console(tmp_path, banc):
    banc.mode("pid")
    premier = banc.essai(16, progression=False, echelon=50)
    second = banc.essai(16, progression=False, echelon=40)
    assert (premier.numero, second.numero) == (1, 2)
    premier.csv(tmp_path / "module.csv")
    fait = console("--essai", "1", "--csv", str(tmp_path / "relu.csv"))
    assert fait.returncode == 0, fait.stderr
    assert (tmp_path / "relu.csv").read_bytes() == (tmp_path / "module.csv").read_bytes()
