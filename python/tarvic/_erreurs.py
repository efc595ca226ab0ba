"""Les exceptions propres au module (les autres sont celles de Python)."""

from __future__ import annotations

import errno
from typing import TYPE_CHECKING, Optional, Union

if TYPE_CHECKING:
    from ._bode import Bode
    from ._essai import Essai


class ErreurCarte(OSError):
    """La carte a fait défaut pendant un essai.

    ``essai`` garde les blocs acquis avant le défaut (``None`` hors essai),
    ou, pour un balayage, le ``Bode`` des fréquences mesurées.
    """

    code = errno.EPROTO

    def __init__(self, message: str, essai: Optional[Union["Essai", "Bode"]] = None) -> None:
        super().__init__(self.code, message)
        self.essai = essai

    def __str__(self) -> str:
        return str(self.strerror)


class CarteMuette(ErreurCarte, TimeoutError):
    """La carte ne répond plus : ligne renvoyée, toujours sans réponse."""

    code = errno.ETIMEDOUT


class LiaisonPerdue(ErreurCarte, ConnectionError):
    """Le port s'est fermé : adaptateur débranché, carte éteinte."""

    code = errno.EIO


class CarteRefuse(ErreurCarte):
    """La carte a refusé une ligne, ou un bloc est resté illisible."""


class EssaiInterrompu(KeyboardInterrupt):
    """Ctrl-C pendant un essai : la boucle de la carte est arrêtée.

    ``essai`` garde les blocs acquis jusque-là (``essai.interrompu`` est vrai),
    ou, pour un balayage, le ``Bode`` des fréquences mesurées.
    """

    def __init__(self, essai: Union["Essai", "Bode"]) -> None:
        super().__init__("Essai interrompu.")
        self.essai = essai


# Ce que la carte a fait d'un essai, tel que le noyau le dit.
DEFAUTS = {"muette": CarteMuette, "perdue": LiaisonPerdue, "refusee": CarteRefuse}
