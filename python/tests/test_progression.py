"""La progression d'un essai : une ligne sans tqdm, la barre de tqdm avec."""

import os
import subprocess
import sys
import textwrap

import pytest

ESSAI = textwrap.dedent("""
    import sys
    {avant}
    import tarvic
    with tarvic.Banc("niveaueau", vitesse=50, profil=sys.argv[1]) as banc:
        banc.mode("pid")
        banc.essai(32, echelon=50)
""")


def lancer(tmp_path, avant="", script=ESSAI):
    # En octets : les \r de la ligne restent des \r.
    fait = subprocess.run([sys.executable, "-c", script.format(avant=avant), str(tmp_path / "banc.ini")],
                          capture_output=True, env=os.environ, check=True)
    return fait.stdout.decode(), fait.stderr.decode()


def test_sans_tqdm_une_ligne_compte_les_blocs(tmp_path):
    sortie, erreurs = lancer(tmp_path, avant="sys.modules['tqdm'] = None  # tqdm absent")
    assert erreurs == "\rBlocs acquis : 0/2\rBlocs acquis : 1/2\rBlocs acquis : 2/2\n"
    assert sortie == ""


def test_avec_tqdm_sa_barre(tmp_path):
    pytest.importorskip("tqdm")
    _, erreurs = lancer(tmp_path)
    assert "Essai: 100%" in erreurs and "2/2" in erreurs


def test_sans_progression_rien(tmp_path):
    assert lancer(tmp_path, script=ESSAI.replace("echelon=50", "echelon=50, progression=False")) == ("", "")


BODE = textwrap.dedent("""
    import sys
    {avant}
    import tarvic
    with tarvic.Banc("niveaueau", vitesse=400, profil=sys.argv[1]) as banc:
        banc.bode(0.01, 0.02, 2)
""")


def test_un_balayage_compte_ses_frequences(tmp_path):
    _, erreurs = lancer(tmp_path, avant="sys.modules['tqdm'] = None  # tqdm absent", script=BODE)
    fait = "\r".join(f"Fr\u00e9quences mesur\u00e9es : {n}/2" for n in range(3))
    assert erreurs == "\r" + fait + "\n"
