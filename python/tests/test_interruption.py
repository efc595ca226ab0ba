"""Ctrl-C pendant un essai : SIGINT à un processus, la boucle de la carte arrêtée, les blocs gardés."""

import os
import signal
import subprocess
import sys
import textwrap

SCRIPT = textwrap.dedent("""
    import sys
    import tarvic
    import tarvic._banc

    class Signale:
        dit = False

        def __init__(self, montree, prevus):
            pass

        def __call__(self, acquis, prevus):
            if acquis >= 1 and not Signale.dit:
                Signale.dit = True
                print("premier bloc", flush=True)

        def fermer(self):
            pass

    tarvic._banc.Progression = Signale
    with tarvic.Banc("niveaueau", port=sys.argv[1], profil=sys.argv[2]) as banc:
        banc.mode("pid")
        try:
            banc.essai(320, echelon=50)
        except tarvic.EssaiInterrompu as interruption:
            essai = interruption.essai
            print(essai.statut, essai.interrompu, essai.blocs_prevus, len(essai.t) == 32 * essai.blocs,
                  1 <= essai.blocs < 20, isinstance(interruption, KeyboardInterrupt), flush=True)
""")


def test_ctrl_c_arrete_la_boucle_et_garde_les_blocs(tmp_path, carte):
    simulee = carte("--bench", "niveaueau", "--speed", "20")
    essai = subprocess.Popen([sys.executable, "-c", SCRIPT, str(simulee.lien), str(tmp_path / "a.ini")],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=os.environ)
    assert essai.stdout.readline() == "premier bloc\n"
    essai.send_signal(signal.SIGINT)
    sortie, erreurs = essai.communicate(timeout=30)
    assert essai.returncode == 0, erreurs
    assert sortie == "interrompu True 20 True True True\n"
    recues = simulee.lignes_recues()
    # La dernière ligne reçue arrête la boucle, et rien ne la suit.
    assert recues[-1] == "!RS"
