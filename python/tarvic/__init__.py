"""Les bancs de régulation en Python, sur le moteur de la console ``tarvic-banc``.

Un essai en cinq lignes, sur le banc de niveau d'eau simulé::

    import tarvic
    with tarvic.Banc("niveaueau", vitesse=50) as banc:
        banc.mode("pid")
        essai = banc.essai(320, kp=2, ti=20, echelon=50)
    essai.plot()
"""

from ._banc import Banc
from ._bode import Bode
from ._erreurs import CarteMuette, CarteRefuse, ErreurCarte, EssaiInterrompu, LiaisonPerdue
from ._essai import Essai

__all__ = [
    "Banc",
    "Bode",
    "Essai",
    "ErreurCarte",
    "CarteMuette",
    "LiaisonPerdue",
    "CarteRefuse",
    "EssaiInterrompu",
]
