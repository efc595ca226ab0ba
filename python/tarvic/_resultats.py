"""Les résultats du --json de la console, en objets Python."""

from __future__ import annotations

import numbers
from typing import Any

import numpy as np


def _nombres(valeurs: list) -> bool:
    return len(valeurs) > 0 and all(
        isinstance(v, numbers.Real) and not isinstance(v, bool) for v in valeurs
    )


def en_objets(valeur: Any) -> Any:
    """Le JSON lu, ses listes de nombres en tableaux numpy."""
    if isinstance(valeur, dict):
        return {cle: en_objets(v) for cle, v in valeur.items()}
    if isinstance(valeur, list):
        if _nombres(valeur):
            return np.asarray(valeur, dtype=float)
        return [en_objets(v) for v in valeur]
    return valeur
