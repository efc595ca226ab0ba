"""La progression d'un essai : tqdm quand il est installé, une ligne sinon."""

from __future__ import annotations

import sys
from typing import Any, Optional


def _barre_tqdm() -> Optional[Any]:
    """La barre de tqdm : celle des carnets quand ipywidgets la dessine, la barre texte sinon."""
    try:
        from tqdm import tqdm as texte
    except ImportError:
        return None
    try:
        import ipywidgets  # noqa: F401
        from tqdm.auto import tqdm as auto
    except ImportError:
        return texte
    return auto


class Progression:
    """Ce qui est fait sur ce qui est prévu (les blocs d'un essai, les
    fréquences d'un balayage), montré au fil du travail."""

    def __init__(
        self, montree: bool, prevus: int, unite: str = "bloc", titre: str = "Essai", ligne: str = "Blocs acquis"
    ) -> None:
        self._ligne_texte = ligne
        self._montree = montree
        self._prevus = prevus
        self._acquis = 0
        self._barre: Optional[object] = None
        if montree:
            barre = _barre_tqdm()
            if barre is None:
                self._ligne()
            else:
                self._barre = barre(total=prevus, unit=unite, desc=titre, leave=True)

    def __call__(self, acquis: int, prevus: int) -> None:
        """Appelée par le noyau pendant l'essai, sur le fil de l'appelant."""
        if acquis == self._acquis and prevus == self._prevus:
            return
        if self._barre is not None:
            if prevus != self._prevus:
                self._barre.total = prevus
            self._barre.update(acquis - self._acquis)
        self._acquis, self._prevus = acquis, prevus
        if self._montree and self._barre is None:
            self._ligne()

    def _ligne(self) -> None:
        sys.stderr.write(f"\r{self._ligne_texte} : {self._acquis}/{self._prevus}")
        sys.stderr.flush()

    def fermer(self) -> None:
        if self._barre is not None:
            self._barre.close()
            self._barre = None
        elif self._montree:
            sys.stderr.write("\n")
            sys.stderr.flush()
        self._montree = False
