"""La carte et son port : ouverture, occupation, fermeture, silence et perte en cours d'essai."""

import errno
import itertools
import os
import signal
import threading

import pytest

import tarvic
import tarvic._banc


def test_un_port_introuvable_leve_file_not_found_error(tmp_path):
    with pytest.raises(FileNotFoundError) as erreur:
        tarvic.Banc("niveaueau", port=tmp_path / "absent")
    assert erreur.value.errno == errno.ENOENT
    assert erreur.value.strerror == f"Port {tmp_path / 'absent'} introuvable."


def test_deux_bancs_sur_un_port(tmp_path, carte):
    lien = carte("--bench", "niveaueau").lien
    with tarvic.Banc("niveaueau", port=lien, profil=tmp_path / "a.ini"):
        with pytest.raises(OSError) as erreur:
            tarvic.Banc("niveaueau", port=lien, profil=tmp_path / "b.ini")
    assert erreur.value.errno == errno.EBUSY
    # Celui qui le tient est ce processus-ci, par le premier banc.
    assert erreur.value.strerror == f"Port {lien} occup\u00e9 par un autre programme (python3, pid {os.getpid()})."


def test_le_contexte_ferme_la_carte_meme_sur_une_exception(tmp_path, carte):
    lien = carte("--bench", "niveaueau").lien
    with pytest.raises(RuntimeError):
        with tarvic.Banc("niveaueau", port=lien, profil=tmp_path / "a.ini") as banc:
            raise RuntimeError("dans le bloc")
    assert banc.ferme
    assert repr(banc) == "<Banc niveaueau ferm\u00e9>"
    # Le port est libre : un autre banc l'ouvre.
    with tarvic.Banc("niveaueau", port=lien, profil=tmp_path / "b.ini") as autre:
        assert autre.port == str(lien)


def test_un_banc_ferme_refuse_tout(banc):
    banc.fermer()
    banc.fermer()  # sans effet la seconde fois
    for appel in (lambda: banc.essai(16), lambda: banc.parametres(), lambda: banc.mesures(), lambda: banc.mode("pid"),
                  lambda: banc.port):
        with pytest.raises(ValueError) as erreur:
            appel()
        assert str(erreur.value) == "Le banc est ferm\u00e9 : ouvrez-en un autre avec tarvic.Banc(...)."


def test_mesures_et_suivre_au_repos(banc):
    banc.mode("pid")
    au_repos = {"niveau1": 0.0, "niveau2": 0.0, "debit": 0.0, "consigne": 0.0, "commande": 0.0}
    assert banc.mesures() == au_repos
    assert list(itertools.islice(banc.suivre(0.01), 3)) == [au_repos] * 3
    assert list(banc.suivre(0.01, duree=0)) == []
    banc.mode("bo")
    assert banc.mesures() == {"niveau1": 0.0, "niveau2": 0.0, "debit": 0.0, "commande": 0.0}


def test_les_mesures_d_une_carte_muette(tmp_path, carte):
    lien = carte("--bench", "niveaueau", "--silent").lien
    with tarvic.Banc("niveaueau", port=lien, profil=tmp_path / "a.ini") as banc:
        with pytest.raises(tarvic.CarteMuette) as erreur:
            banc.mesures()
    assert erreur.value.errno == errno.ETIMEDOUT
    assert str(erreur.value) == (
        "La carte ne r\u00e9pond pas : \u00ab AEBC \u00bb envoy\u00e9 3 fois, chaque fois sans r\u00e9ponse "
        "au bout de 2 s (6 s en tout).")


class ArretCarte:
    """Une progression qui suspend la carte dès le premier bloc acquis."""

    processus = None

    def __init__(self, montree, prevus):
        pass

    def __call__(self, acquis, prevus):
        if acquis >= 1 and self.processus.poll() is None:
            self.processus.send_signal(signal.SIGSTOP)

    def fermer(self):
        pass


def test_une_carte_qui_se_tait_en_cours_d_essai_garde_les_blocs(tmp_path, carte, monkeypatch):
    simulee = carte("--bench", "niveaueau", "--speed", "100")
    ArretCarte.processus = simulee.processus
    monkeypatch.setattr(tarvic._banc, "Progression", ArretCarte)
    with tarvic.Banc("niveaueau", port=simulee.lien, profil=tmp_path / "a.ini") as banc:
        banc.mode("pid")
        with pytest.raises(tarvic.CarteMuette) as erreur:
            banc.essai(320, echelon=50)
    essai = erreur.value.essai
    assert isinstance(erreur.value, TimeoutError) and isinstance(erreur.value, tarvic.ErreurCarte)
    assert 1 <= essai.blocs < 20 and essai.blocs_prevus == 20
    assert essai.statut == "muette" and not essai.complet
    assert len(essai.mesure_pct) == 32 * essai.blocs == len(essai.t)
    assert str(erreur.value).startswith("La carte ne r\u00e9pond plus : \u00ab ")
    assert banc.dernier_essai is essai


def test_un_port_perdu_en_cours_d_essai_garde_les_blocs(tmp_path, carte):
    simulee = carte("--bench", "niveaueau", "--speed", "100", "--hangup-after", "60")
    with tarvic.Banc("niveaueau", port=simulee.lien, profil=tmp_path / "a.ini") as banc:
        banc.mode("pid")
        with pytest.raises(tarvic.LiaisonPerdue) as erreur:
            banc.essai(320, progression=False, echelon=50)
    assert isinstance(erreur.value, ConnectionError) and erreur.value.errno == errno.EIO
    assert str(erreur.value) == f"La liaison avec la carte est perdue : le port {os.fspath(simulee.lien)} s'est ferm\u00e9."
    assert 1 <= erreur.value.essai.blocs < 20


def test_fermer_depuis_un_autre_fil_attend_la_fin_de_l_essai(banc, monkeypatch):
    fils = []

    class FermeAilleurs(ArretCarte):
        def __call__(self, acquis, prevus):
            if not fils:
                fils.append(threading.Thread(target=banc.fermer))
                fils[0].start()

    monkeypatch.setattr(tarvic._banc, "Progression", FermeAilleurs)
    banc.mode("pid")
    essai = banc.essai(64, echelon=50)
    fils[0].join()
    assert essai.complet and essai.blocs == 4
    assert banc.ferme
