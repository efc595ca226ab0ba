"""Ce que les tests du module partagent : un profil à eux, la console et la carte simulée du build."""

import os
import signal
import subprocess
import time
from pathlib import Path

import pytest

import tarvic

# Rien du profil de l'utilisateur : chaque test a le sien.
VITESSE = 400  # une minute du banc en 150 ms


@pytest.fixture(autouse=True)
def configuration(tmp_path, monkeypatch):
    monkeypatch.setenv("XDG_CONFIG_HOME", str(tmp_path / "config"))
    monkeypatch.setenv("XDG_DATA_HOME", str(tmp_path / "data"))


@pytest.fixture
def banc(tmp_path):
    with tarvic.Banc("niveaueau", vitesse=VITESSE, profil=tmp_path / "banc.ini") as ouvert:
        yield ouvert


def console(*options, profil=None):
    """tarvic-banc du build, avec son propre profil ; rend le processus fini."""
    profil_ = [] if profil is None else ["--profil", str(profil)]
    return subprocess.run(
        [os.environ["TARVIC_BANC"], *options, *profil_],
        capture_output=True,
        text=True,
        check=False,
    )


class CarteSimulee:
    """cardsim lancé par le test, sur un lien à lui, son trafic noté dans un fichier."""

    def __init__(self, dossier: Path, *options: str) -> None:
        self.lien = dossier / "carte"
        self.journal = dossier / "carte.log"
        self.processus = subprocess.Popen(
            [os.environ["TARVIC_CARDSIM"], "--link", str(self.lien), "--log", str(self.journal), *options],
            stdout=subprocess.PIPE,
            text=True,
        )
        # Sa première ligne dit son pseudo-terminal : il est prêt.
        self.processus.stdout.readline()

    def arreter(self) -> None:
        if self.processus.poll() is None:
            self.processus.send_signal(signal.SIGCONT)
            self.processus.terminate()
        self.processus.wait()

    def lignes_recues(self):
        return [ligne[2:].rstrip("\n") for ligne in self.journal.read_text().splitlines() if ligne.startswith("> ")]


@pytest.fixture
def carte(tmp_path):
    cartes = []

    def lancer(*options):
        cartes.append(CarteSimulee(tmp_path, *options))
        return cartes[-1]

    yield lancer
    for une in cartes:
        une.arreter()
