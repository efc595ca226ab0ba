#!/usr/bin/env python3
"""Le banc de niveau d'eau simulé, de l'échelon en boucle ouverte à la boucle réglée.

    PYTHONPATH=build/release/python python3 examples/niveau_eau.py [DOSSIER]

Écrit les courbes des trois essais en PNG dans DOSSIER (le dossier courant par défaut).
"""

import sys
from pathlib import Path

import matplotlib

matplotlib.use("Agg")  # des fichiers, pas de fenêtre
import matplotlib.pyplot as plt

import tarvic

dossier = Path(sys.argv[1] if len(sys.argv) > 1 else ".")

with tarvic.Banc("niveaueau", vitesse=200) as banc:
    # 1. Un échelon de commande en boucle ouverte : la pompe à 50 %.
    banc.mode("bo")
    echelon = banc.essai(200, echelon=50)
    print(echelon)

    # 2. Identifier le procédé sur un autre échelon, parti du repos, et régler
    #    la boucle par la méthode IMC : les réglages vont au profil du mode pid.
    identification = banc.identifier(400, echelon=50, regle="imc")
    modele = identification.modele
    print(f"Mod\u00e8le : gain {modele['gain']:.3f} {modele['unite_gain']}, "
          f"constante de temps {modele['constante_temps_s']:.1f} s, retard {modele['retard_s']:.1f} s")
    applique = identification.resultats["reglage_applique"]
    print(f"R\u00e9glage {applique['regle']} ({applique['correcteur']}) : kp = {applique['kp']}, ti = {applique['ti']} s")

    # 3. La boucle fermée avec ces réglages, et la réponse que le modèle prédit.
    banc.mode("pid")
    boucle = banc.essai(160, echelon=50, predire=True)
    print(boucle)

for nom, essai in (("echelon", echelon), ("identification", identification), ("boucle", boucle)):
    figure, axe = plt.subplots()
    essai.plot(axe)
    figure.savefig(dossier / f"niveau_eau_{nom}.png")
    print(f"Courbes : {dossier / f'niveau_eau_{nom}.png'}")
