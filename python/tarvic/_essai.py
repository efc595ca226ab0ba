"""Un essai fait : ses courbes, ses chiffres, ses fichiers."""

import json
import os
import warnings
from typing import Any, Dict, List, Optional, Union

import numpy as np

from ._resultats import en_objets

Chemin = Union[str, os.PathLike]


class Essai:
    """Un essai sur un banc, tel que la console l'aurait fait.

    ``t`` donne le temps de chaque point en secondes ; chaque courbe enregistrée
    est un tableau numpy nommé comme la colonne du CSV de la console
    (``essai["mesure_pct"]`` ou ``essai.mesure_pct``), dans l'unité de cette
    colonne. ``resume`` donne les chiffres de la réponse indicielle (``None``
    quand l'enregistrement ne les établit pas) ; ``resultats`` tout ce que
    ``tarvic-banc --json`` aurait écrit. Un essai arrêté avant sa fin
    (``interrompu``, ou la carte en défaut) garde les blocs acquis.
    """

    def __init__(self, coeur: Any) -> None:
        self._coeur = coeur
        self.t: np.ndarray = coeur.temps()
        self.colonnes: List[str] = list(coeur.colonnes)
        self._courbes: Dict[str, np.ndarray] = {
            nom: coeur.valeurs(i) for i, nom in enumerate(self.colonnes)
        }
        self.resultats: Dict[str, Any] = en_objets(json.loads(coeur.json()))
        self.statut, self.message, _ = coeur.resultat
        self.blocs: int = coeur.blocs
        self.blocs_prevus: int = coeur.blocs_prevus
        self.periode: float = coeur.periode
        # Son numéro dans l'historique des essais (``tarvic-banc --essai N``), ``None`` s'il n'y est pas.
        self.numero: Optional[int] = coeur.numero or None
        if coeur.historique:
            warnings.warn(coeur.historique, RuntimeWarning, stacklevel=3)

    @property
    def interrompu(self) -> bool:
        """Vrai pour un essai arrêté par Ctrl-C."""
        return self.statut == "interrompu"

    @property
    def complet(self) -> bool:
        """Vrai pour un essai allé jusqu'au bout."""
        return self.statut == "fini"

    @property
    def resume(self) -> Dict[str, Any]:
        """Les chiffres de la réponse indicielle, en unités SI."""
        return self.resultats.get("resume") or {}

    @property
    def modele(self) -> Optional[Dict[str, Any]]:
        """Le modèle identifié (``banc.identifier``), ou ``None``."""
        return self.resultats.get("modele")

    @property
    def reglages(self) -> Optional[List[Dict[str, Any]]]:
        """Les réglages suggérés par chaque règle, ou ``None``."""
        return self.resultats.get("reglages")

    def __getitem__(self, nom: str) -> np.ndarray:
        if nom in ("t", "temps_s"):
            return self.t
        try:
            return self._courbes[nom]
        except KeyError:
            raise KeyError(
                f"Pas de courbe {nom!r} dans cet essai ({', '.join(self.colonnes)})."
            ) from None

    def __getattr__(self, nom: str) -> np.ndarray:
        courbes = self.__dict__.get("_courbes", {})
        if nom in courbes:
            return courbes[nom]
        raise AttributeError(
            f"Essai n'a pas d'attribut {nom!r} (courbes : {', '.join(courbes)})."
        )

    def __dir__(self) -> List[str]:
        return sorted(set(super().__dir__()) | set(self._courbes))

    def __str__(self) -> str:
        return self._coeur.texte()

    def __repr__(self) -> str:
        return (
            f"<Essai {self.resultats.get('banc')} {self.resultats.get('mode')} : "
            f"{self.blocs}/{self.blocs_prevus} blocs, {self.statut}>"
        )

    def to_pandas(self) -> Any:
        """Les courbes en DataFrame pandas, indexé par le temps (``temps_s``)."""
        try:
            import pandas as pd
        except ImportError:
            raise ImportError(
                "to_pandas demande pandas : apt install python3-pandas"
            ) from None
        donnees = {"temps_s": self.t, **self._courbes}
        return pd.DataFrame(donnees).set_index("temps_s")

    def plot(self, ax: Any = None) -> Any:
        """Trace la consigne, la mesure et la commande avec matplotlib ; rend l'axe."""
        try:
            import matplotlib.pyplot as plt
        except ImportError:
            raise ImportError(
                "plot demande matplotlib : apt install python3-matplotlib"
            ) from None
        if ax is None:
            _, ax = plt.subplots()
        for nom in self.colonnes[:3]:
            ax.plot(self.t, self._courbes[nom], label=nom)
        ax.set_xlabel("temps (s)")
        ax.set_title(f"{self.resultats.get('banc')}, mode {self.resultats.get('mode')}")
        ax.legend()
        ax.grid(True)
        return ax

    def csv(self, chemin: Chemin, format: str = "rfc4180") -> None:
        """Écrit le CSV de la console (``format="fr"`` pour un tableur en français)."""
        self._coeur.ecrire_csv(os.fspath(chemin), format)

    def archive(self, chemin: Chemin) -> None:
        """Écrit l'essai en archive ``.tbc``, que ``tarvic-banc --ouvrir`` relit."""
        self._coeur.ecrire_archive(os.fspath(chemin))
