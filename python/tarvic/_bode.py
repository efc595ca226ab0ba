"""Un balayage en fréquence fait : ses points, ses marges, les courbes du modèle et de la boucle."""

import json
from typing import Any, Dict, List, Optional

import numpy as np

from ._resultats import en_objets


def _courbe(tableaux: Any) -> Optional[Dict[str, np.ndarray]]:
    frequences, gains, gains_db, phases = tableaux
    if len(frequences) == 0:
        return None
    return {"frequences_hz": frequences, "gains": gains, "gains_db": gains_db, "phases_deg": phases}


class Bode:
    """La réponse fréquentielle d'un banc, telle que ``tarvic-banc --bode`` la mesure.

    Un point par fréquence mesurée, en tableaux numpy dans l'ordre des
    fréquences : ``frequences_hz``, ``pulsations_rad_s``, ``gains`` (en unité
    de mesure par % de commande, ``unite_gain``), ``gains_db``,
    ``phases_deg``, ``distorsions_pct``, ``fiables`` ; ``remarques`` dit
    pourquoi un point n'est pas fiable. ``manquantes_hz`` sont les fréquences
    prévues et non mesurées (un balayage arrêté ou une carte en défaut garde
    celles mesurées). ``modele`` est le modèle gardé d'où viennent les bornes,
    ``courbe_modele`` sa courbe sur la plage mesurée ; ``marges`` et
    ``boucle_ouverte`` sont celles du correcteur PID du profil (``None`` sans
    elles). ``resultats`` est tout ce que ``tarvic-banc --bode --json`` écrit.
    """

    def __init__(self, coeur: Any) -> None:
        self._coeur = coeur
        self.resultats: Dict[str, Any] = en_objets(json.loads(coeur.json()))
        self.statut, self.message, _ = coeur.resultat
        points: List[Dict[str, Any]] = self.resultats["bode"]

        def colonne(cle: str, type_: Any = float) -> np.ndarray:
            return np.array([point[cle] for point in points], dtype=type_)

        self.frequences_hz = colonne("frequence_hz")
        self.pulsations_rad_s = colonne("pulsation_rad_s")
        self.gains = colonne("gain")
        self.gains_db = colonne("gain_db")
        self.phases_deg = colonne("phase_deg")
        self.distorsions_pct = colonne("distorsion_pct")
        self.fiables = colonne("fiable", bool)
        self.remarques: List[str] = [point["remarque"] for point in points]
        self.manquantes_hz = np.asarray(self.resultats["manquantes_hz"], dtype=float)
        self.unite_gain: str = self.resultats["unite_gain"]
        self.modele: Optional[Dict[str, Any]] = self.resultats.get("modele")
        self.marges: Optional[Dict[str, Any]] = self.resultats.get("marges")
        self.courbe_modele = _courbe(coeur.courbe_modele())
        self.boucle_ouverte = _courbe(coeur.boucle_ouverte())

    @property
    def interrompu(self) -> bool:
        """Vrai pour un balayage arrêté par Ctrl-C."""
        return self.statut == "interrompu"

    @property
    def complet(self) -> bool:
        """Vrai quand chaque fréquence prévue a été mesurée."""
        return self.statut == "fini" and len(self.manquantes_hz) == 0

    def __len__(self) -> int:
        return len(self.frequences_hz)

    def __str__(self) -> str:
        return self._coeur.texte()

    def __repr__(self) -> str:
        prevues = len(self) + len(self.manquantes_hz)
        return (
            f"<Bode {self.resultats.get('banc')} {self.resultats.get('mode')} : "
            f"{len(self)}/{prevues} fréquences, {self.statut}>"
        )

    def plot(self, axes: Any = None) -> Any:
        """Trace le diagramme de Bode (gain en dB, phase en degrés) avec matplotlib ;
        rend les deux axes. ``axes`` en donne deux déjà faits."""
        try:
            import matplotlib.pyplot as plt
        except ImportError:
            raise ImportError("plot demande matplotlib : apt install python3-matplotlib") from None
        if axes is None:
            _, axes = plt.subplots(2, 1, sharex=True)
        gain, phase = axes
        gain.semilogx(self.frequences_hz, self.gains_db, "o", label="mesuré")
        phase.semilogx(self.frequences_hz, self.phases_deg, "o", label="mesuré")
        for nom, courbe in (("modèle", self.courbe_modele), ("boucle ouverte", self.boucle_ouverte)):
            if courbe is not None:
                gain.semilogx(courbe["frequences_hz"], courbe["gains_db"], label=nom)
                phase.semilogx(courbe["frequences_hz"], courbe["phases_deg"], label=nom)
        gain.set_ylabel(f"gain (dB, 0 dB pour 1 {self.unite_gain})")
        phase.set_ylabel("phase (°)")
        phase.set_xlabel("fréquence (Hz)")
        gain.set_title(f"{self.resultats.get('banc')}, mode {self.resultats.get('mode')}")
        for axe in axes:
            axe.grid(True, which="both")
            axe.legend()
        return axes
