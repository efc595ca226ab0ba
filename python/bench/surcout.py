#!/usr/bin/env python3
"""Ce que coûte le module face à la console, sur le même essai de 20 blocs à --vitesse 50.

    PYTHONPATH=build/release/python python3 python/bench/surcout.py [FOIS]

Chaque essai se fait FOIS fois (3 par défaut), en alternant la console et le
module, chacun sur une carte simulée neuve et un profil neuf ; on garde la
médiane. Le module est mesuré de bout en bout dans un processus à lui
(l'interpréteur, l'import, la carte lancée, l'essai, la fermeture), comme la
console. S'y ajoutent le temps d'import du module et ce que coûte la remise
des courbes à numpy.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

RACINE = Path(__file__).resolve().parents[2]
CONSOLE = Path(os.environ.get("TARVIC_BANC", RACINE / "build/release/banc/cli/tarvic-banc"))
REGLAGES = ["--banc", "niveaueau", "--mode", "pid", "--kp", "2", "--ti", "20", "--echelon", "50", "--duree", "320",
            "--vitesse", "50"]
MODULE = """
import sys, time, tarvic
debut = time.perf_counter()
with tarvic.Banc("niveaueau", vitesse=50, profil=sys.argv[1]) as banc:
    banc.mode("pid")
    essai = banc.essai(320, progression=False, kp=2, ti=20, echelon=50)
assert essai.blocs == 20
print(time.perf_counter() - debut)
"""


# Chaque processus part d'un dossier à lui : le PYTHONPATH donné depuis la racine y est rendu absolu.
ENVIRONNEMENT = {**os.environ, "PYTHONPATH": os.pathsep.join(
    os.path.abspath(chemin) for chemin in os.environ.get("PYTHONPATH", "").split(os.pathsep) if chemin)}


def chrono(commande, dossier):
    """Le temps du processus entier, et ce qu'il a écrit."""
    debut = time.perf_counter()
    fait = subprocess.run(commande, check=True, capture_output=True, text=True, cwd=dossier, env=ENVIRONNEMENT)
    return time.perf_counter() - debut, fait.stdout


def main():
    fois = int(sys.argv[1]) if len(sys.argv) > 1 else 3
    console, module, banc, imports = [], [], [], []
    for _ in range(fois):
        with tempfile.TemporaryDirectory() as dossier:
            console.append(chrono([str(CONSOLE), *REGLAGES, "--profil", f"{dossier}/c.ini"], dossier)[0])
            total, sortie = chrono([sys.executable, "-c", MODULE, f"{dossier}/m.ini"], dossier)
            module.append(total)
            banc.append(float(sortie))
            imports.append(chrono([sys.executable, "-c", "import tarvic"], dossier)[0])
    c, m, b = statistics.median(console), statistics.median(module), statistics.median(banc)
    print(f"console tarvic-banc, processus entier : {c:.3f} s (m\u00e9diane de {fois})")
    print(f"module, du Banc ouvert au Banc ferm\u00e9 : {b:.3f} s ({100 * (b - c) / c:+.1f} %)")
    print(f"module, processus entier            : {m:.3f} s ({100 * (m - c) / c:+.1f} %)")
    print(f"python3 -c 'import tarvic' : {1000 * statistics.median(imports):.0f} ms (interpr\u00e9teur compris)")
    trace = subprocess.run([sys.executable, "-X", "importtime", "-c", "import tarvic"], check=True,
                           capture_output=True, text=True).stderr
    for nom in ("numpy", "tarvic"):
        ligne = [ligne for ligne in trace.splitlines() if ligne.split("|")[-1].strip() == nom][-1]
        print(f"import {nom} : {int(ligne.split('|')[1]) / 1000:.0f} ms (cumul\u00e9)")


if __name__ == "__main__":
    main()
