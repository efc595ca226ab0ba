"""Un banc et sa carte, piloté comme la console le pilote."""

import numbers
import os
import threading
import time
import warnings
from typing import Any, Dict, Iterator, List, Optional, Union

from . import _tarvic
from ._bode import Bode
from ._erreurs import DEFAUTS, EssaiInterrompu
from ._essai import Chemin, Essai
from ._progression import Progression

Nombre = Union[int, float]


def _verifie_nombre(nom: str, valeur: Any) -> float:
    if isinstance(valeur, bool) or not isinstance(valeur, numbers.Real):
        raise TypeError(f"{nom} : un nombre est attendu, pas {type(valeur).__name__}.")
    return float(valeur)


def _nombre(nom: str, valeur: Any) -> str:
    # repr rend le flottant exact : la console lit le même nombre.
    return repr(_verifie_nombre(nom, valeur))


def _texte(nom: str, valeur: Any) -> str:
    if not isinstance(valeur, str):
        raise TypeError(f"{nom} : une chaîne est attendue, pas {type(valeur).__name__}.")
    return valeur


def _chemin(nom: str, valeur: Any) -> str:
    if not isinstance(valeur, (str, os.PathLike)):
        raise TypeError(f"{nom} : un chemin est attendu, pas {type(valeur).__name__}.")
    return os.fspath(valeur)


def _reglages(reglages: Dict[str, Any]) -> List[str]:
    options: List[str] = []
    for nom, valeur in reglages.items():
        if not _tarvic.est_parametre(nom):
            raise ValueError(
                f"Param\u00e8tre inconnu : {nom} (banc.parametres() donne ceux du banc)."
            )
        options += [f"--{nom}", _nombre(nom, valeur)]
    return options


class Banc:
    """Un banc de régulation et sa carte, piloté comme ``tarvic-banc`` le pilote.

    ``nom`` est le banc de la console (``niveaueau``, ``debitair``, ``axnum``,
    ``iapv``, ``synum``). Sans ``port``, le banc tourne sur sa carte simulée,
    sur un pseudo-terminal à lui, ``vitesse`` fois plus vite que l'horloge,
    avec ``bruit`` % de bruit de mesure tiré de ``graine``. Avec ``port``
    (``"COM1"``, ``"/dev/ttyUSB0"``), c'est la vraie carte. Les réglages
    restent dans le profil de la console (``profil`` en nomme un autre).

    Un port qui ne s'ouvre pas lève une ``OSError`` de son errno
    (``FileNotFoundError``, ``PermissionError``...) avec la raison en français ;
    un nom ou une valeur que la console refuserait lève ``ValueError`` avec son
    message. Employé avec ``with``, le banc est fermé à la sortie du bloc, même
    sur une exception ou Ctrl-C::

        with tarvic.Banc("niveaueau", vitesse=50) as banc:
            banc.mode("pid")
            essai = banc.essai(320, kp=2, ti=20, echelon=50)
            essai.plot()
    """

    def __init__(
        self,
        nom: str,
        port: Optional[Chemin] = None,
        vitesse: float = 1.0,
        bruit: float = 0.0,
        graine: int = 1,
        profil: Optional[Chemin] = None,
    ) -> None:
        self._coeur: Any = None
        options = ["--banc", _texte("nom", nom)]
        _verifie_nombre("vitesse", vitesse)
        _verifie_nombre("bruit", bruit)
        if isinstance(graine, bool) or not isinstance(graine, numbers.Integral):
            raise TypeError(f"graine : un entier est attendu, pas {type(graine).__name__}.")
        simulee = port is None
        if not simulee:
            options += ["--port", _chemin("port", port)]
        # Avec un port, seuls les choix donnés vont à la console, qui les refuse.
        if simulee or vitesse != 1.0:
            options += ["--vitesse", _nombre("vitesse", vitesse)]
        if simulee or bruit != 0.0:
            options += ["--bruit", _nombre("bruit", bruit)]
        if simulee or graine != 1:
            options += ["--graine", str(int(graine))]
        if profil is not None:
            options += ["--profil", _chemin("profil", profil)]
        self.nom = nom
        self._mode: List[str] = []
        self.dernier_essai: Optional[Essai] = None
        # Un essai à la fois sur la carte : un autre fil attend son tour, et ne ferme pas le banc sous lui.
        self._verrou = threading.RLock()
        self._coeur = _tarvic.Session(options)

    def __enter__(self) -> "Banc":
        """Rend le banc ; ``with`` le ferme à la sortie du bloc, quelle qu'elle soit."""
        return self

    def __exit__(self, *exception: Any) -> None:
        """Ferme le banc, sans rien cacher de l'exception qui sort du bloc."""
        self.fermer()

    def __repr__(self) -> str:
        etat = "fermé" if self.ferme else f"sur {self.port}"
        return f"<Banc {self.nom} {etat}>"

    @property
    def ferme(self) -> bool:
        """Vrai une fois le banc fermé."""
        return self._coeur is None or self._coeur.ferme

    @property
    def port(self) -> str:
        """Le port de la carte (le pseudo-terminal de la carte simulée)."""
        return self._ouvert().port

    def fermer(self) -> None:
        """Arrête la carte simulée et ferme le port ; sans effet la seconde fois."""
        if self._coeur is not None:
            with self._verrou:
                self._coeur.fermer()

    def _ouvert(self) -> Any:
        if self.ferme:
            raise ValueError("Le banc est fermé : ouvrez-en un autre avec tarvic.Banc(...).")
        return self._coeur

    def mode(
        self,
        nom: str,
        commande: Optional[str] = None,
        mesure: Optional[str] = None,
        actions: Optional[str] = None,
    ) -> None:
        """Choisit le mode de la console (``pid``, ``bo``, ``tor``...), la commande,
        la grandeur mesurée et les actions du PID (``"PI"``, ``"PID"``)."""
        choix = ["--mode", _texte("nom", nom)]
        if commande is not None:
            choix += ["--commande", _texte("commande", commande)]
        if mesure is not None:
            choix += ["--mesure", _texte("mesure", mesure)]
        actions_ = [] if actions is None else ["--actions", _texte("actions", actions)]
        with self._verrou:
            self._ouvert().configurer(choix + actions_)
            self._mode = choix

    def parametres(self, **reglages: Nombre) -> Optional[Dict[str, float]]:
        """Sans argument, les paramètres du mode et leur valeur ; avec, les règle
        (``kp=2, ti=20``), dans leurs limites, et les garde dans le profil."""
        options = _reglages(reglages)
        with self._verrou:
            if not reglages:
                return dict(self._ouvert().parametres(self._mode))
            self._ouvert().configurer(self._mode + options)
        return None

    def essai(
        self,
        duree: Nombre,
        signal: str = "echelon",
        progression: bool = True,
        *,
        regle: Optional[str] = None,
        correcteur: Optional[str] = None,
        predire: bool = False,
        **reglages: Nombre,
    ) -> Essai:
        """Fait un essai de ``duree`` secondes (arrondie aux blocs) et le rend.

        ``reglages`` sont ceux de ``parametres`` ; ``regle`` (``"simc"``...)
        prend les réglages du modèle identifié, ``predire`` prédit la réponse.
        Ctrl-C arrête la boucle de la carte et lève ``EssaiInterrompu``, dont
        ``essai`` garde les blocs acquis ; une carte en défaut lève
        ``CarteMuette``, ``LiaisonPerdue`` ou ``CarteRefuse``, qui les gardent aussi.
        """
        options = ["--duree", _nombre("duree", duree), "--signal", _texte("signal", signal)]
        if regle is not None:
            options += ["--regle", _texte("regle", regle)]
        if correcteur is not None:
            options += ["--correcteur", _texte("correcteur", correcteur)]
        if predire:
            options.append("--predire")
        return self._executer(options + _reglages(reglages), progression)

    def identifier(
        self,
        duree: Nombre,
        progression: bool = True,
        *,
        stabilisation: Optional[Nombre] = None,
        regle: Optional[str] = None,
        correcteur: Optional[str] = None,
        lambda_: Optional[Nombre] = None,
        tau_c: Optional[Nombre] = None,
        **reglages: Nombre,
    ) -> Essai:
        """Identifie le procédé sur un échelon en boucle ouverte (mode ``bo``).

        Rend l'essai, dont ``modele``, ``reglages`` et ``resultats`` sont ceux
        de ``tarvic-banc --identifier --json`` ; ``regle`` écrit les réglages de
        cette règle dans le profil de la boucle fermée.
        """
        options = ["--duree", _nombre("duree", duree), "--identifier"]
        options += self._options_reglage(stabilisation, regle, correcteur)
        if lambda_ is not None:
            options += ["--lambda", _nombre("lambda_", lambda_)]
        if tau_c is not None:
            options += ["--tau-c", _nombre("tau_c", tau_c)]
        return self._executer(options + _reglages(reglages), progression)

    def relais(
        self,
        duree: Nombre,
        progression: bool = True,
        *,
        stabilisation: Optional[Nombre] = None,
        regle: Optional[str] = None,
        correcteur: Optional[str] = None,
        **reglages: Nombre,
    ) -> Essai:
        """Fait le test du relais (mode ``tor``) : ``resultats["ku"]`` et
        ``resultats["pu_s"]``, et les réglages de ``zn_relais`` et ``tl``."""
        options = ["--duree", _nombre("duree", duree), "--relais"]
        options += self._options_reglage(stabilisation, regle, correcteur)
        return self._executer(options + _reglages(reglages), progression)

    def bode(
        self,
        fmin: Optional[Nombre] = None,
        fmax: Optional[Nombre] = None,
        points: Optional[int] = None,
        progression: bool = True,
        *,
        stabilisation: Optional[Nombre] = None,
        **reglages: Nombre,
    ) -> Bode:
        """Mesure la réponse fréquentielle en boucle ouverte (mode ``bo``), comme
        ``tarvic-banc --bode`` : un sinus de la commande par fréquence, le régime
        établi attendu puis des périodes entières mesurées.

        ``fmin`` et ``fmax`` (Hz) se donnent ensemble ; sans eux, les bornes
        viennent du modèle gardé par ``identifier``. ``points`` fréquences
        (12 par défaut) espacées en log ; ``amplitude`` et ``repos`` (en % de
        la commande) sont des ``reglages``. Rend un ``Bode`` dont ``resultats``
        est le ``--json`` de la console. Ctrl-C arrête le balayage et lève
        ``EssaiInterrompu``, dont ``essai`` garde les fréquences mesurées ; une
        carte en défaut lève ``CarteMuette``, ``LiaisonPerdue`` ou
        ``CarteRefuse``, qui les gardent aussi.
        """
        options = ["--bode"]
        # Une borne seule est refusée par la console, avec sa raison.
        if fmin is not None:
            options += ["--fmin", _nombre("fmin", fmin)]
        if fmax is not None:
            options += ["--fmax", _nombre("fmax", fmax)]
        if points is not None:
            if isinstance(points, bool) or not isinstance(points, numbers.Integral):
                raise TypeError(f"points : un entier est attendu, pas {type(points).__name__}.")
            options += ["--points", str(int(points))]
        options += self._options_reglage(stabilisation, None, None)
        with self._verrou:
            coeur = self._ouvert().bode(self._mode + options + _reglages(reglages))
            if coeur.avertissement:
                warnings.warn(coeur.avertissement, RuntimeWarning, stacklevel=2)
            barre = Progression(bool(progression), coeur.prevues, "fréquence", "Bode", "Fréquences mesurées")
            try:
                coeur.executer(barre)
            except KeyboardInterrupt:
                barre.fermer()
                raise EssaiInterrompu(Bode(coeur)) from None
            finally:
                barre.fermer()
        resultat = Bode(coeur)
        if resultat.statut in DEFAUTS:
            raise DEFAUTS[resultat.statut](resultat.message, resultat)
        if resultat.interrompu:
            raise EssaiInterrompu(resultat)
        return resultat

    @staticmethod
    def _options_reglage(
        stabilisation: Optional[Nombre], regle: Optional[str], correcteur: Optional[str]
    ) -> List[str]:
        options: List[str] = []
        if stabilisation is not None:
            options += ["--stabilisation", _nombre("stabilisation", stabilisation)]
        if regle is not None:
            options += ["--regle", _texte("regle", regle)]
        if correcteur is not None:
            options += ["--correcteur", _texte("correcteur", correcteur)]
        return options

    def _executer(self, options: List[str], progression: bool) -> Essai:
        with self._verrou:
            return self._executer_seul(options, progression)

    def _executer_seul(self, options: List[str], progression: bool) -> Essai:
        coeur = self._ouvert().essai(self._mode + options)
        barre = Progression(bool(progression), coeur.blocs_prevus)
        try:
            coeur.executer(barre)
        except KeyboardInterrupt:
            barre.fermer()
            self.dernier_essai = Essai(coeur)
            raise EssaiInterrompu(self.dernier_essai) from None
        finally:
            barre.fermer()
        essai = self.dernier_essai = Essai(coeur)
        if essai.statut in DEFAUTS:
            raise DEFAUTS[essai.statut](essai.message, essai)
        if essai.interrompu:
            raise EssaiInterrompu(essai)
        return essai

    def mesures(self) -> Dict[str, float]:
        """Les valeurs vives du banc, chaque grandeur dans son unité, puis la
        ``consigne`` (en boucle fermée) et la ``commande`` en %."""
        with self._verrou:
            valeurs, (statut, message, _) = self._ouvert().mesures(self._mode)
        if not valeurs:
            raise DEFAUTS.get(statut, DEFAUTS["muette"])(message)
        return dict(valeurs)

    def suivre(self, periode: Nombre = 0.5, duree: Optional[Nombre] = None) -> Iterator[Dict[str, float]]:
        """Rend ``mesures()`` toutes les ``periode`` secondes, pendant ``duree``
        secondes ou jusqu'à ce que la boucle qui l'emploie s'arrête."""
        pause = _verifie_nombre("periode", periode)
        fin = None if duree is None else time.monotonic() + _verifie_nombre("duree", duree)
        while fin is None or time.monotonic() < fin:
            yield self.mesures()
            time.sleep(pause)
