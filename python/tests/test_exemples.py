"""Les exemples : le script et le carnet, exécutés comme un utilisateur les exécute."""

import json
import os
import subprocess
import sys
from pathlib import Path

import pytest

EXEMPLES = Path(__file__).resolve().parents[2] / "examples"


def test_le_script_fait_ses_trois_essais(tmp_path):
    pytest.importorskip("matplotlib")
    fait = subprocess.run([sys.executable, str(EXEMPLES / "niveau_eau.py"), str(tmp_path)], capture_output=True,
                          text=True, env=os.environ, check=False)
    assert fait.returncode == 0, fait.stderr
    assert "R\u00e9glage imc (PI) : kp = " in fait.stdout
    assert "Mesur\u00e9 et pr\u00e9dit :" in fait.stdout
    for nom in ("echelon", "identification", "boucle"):
        assert (tmp_path / f"niveau_eau_{nom}.png").read_bytes().startswith(b"\x89PNG\r\n\x1a\n")


def test_le_carnet_s_execute_sans_erreur(tmp_path):
    jupyter = subprocess.run([sys.executable, "-m", "nbconvert", "--version"], capture_output=True, check=False)
    if jupyter.returncode != 0:
        pytest.skip("nbconvert absent : apt install jupyter-nbconvert python3-ipykernel")
    fait = subprocess.run([sys.executable, "-m", "nbconvert", "--to", "notebook", "--execute",
                           "--ExecutePreprocessor.timeout=120", "--output-dir", str(tmp_path),
                           str(EXEMPLES / "niveau_eau.ipynb")],
                          capture_output=True, text=True, env=os.environ, check=False)
    assert fait.returncode == 0, fait.stderr
    carnet = json.loads((tmp_path / "niveau_eau.ipynb").read_text())
    sorties = [sortie for cellule in carnet["cells"] if cellule["cell_type"] == "code" for sortie in cellule["outputs"]]
    assert [s for s in sorties if s["output_type"] == "error"] == []
    images = [s for s in sorties if "image/png" in s.get("data", {})]
    assert len(images) == 2  # l'échelon et la boucle
    textes = "".join("".join(s.get("text", "")) for s in sorties)
    assert "Mesur\u00e9 et pr\u00e9dit :" in textes


def test_les_cinq_lignes_du_readme(tmp_path):
    pytest.importorskip("matplotlib")
    readme = (EXEMPLES.parent / "README.md").read_text()
    section = readme[readme.index("### From Python"):]
    debut = section.index("```python\n") + len("```python\n")
    lignes = section[debut:section.index("```", debut)]
    assert len(lignes.splitlines()) == 5
    script = lignes + "\nprint(essai.blocs, len(essai.t), len(essai.plot().get_lines()))\n"
    fait = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, cwd=tmp_path,
                          env={**os.environ, "MPLBACKEND": "Agg"}, check=False)
    assert fait.returncode == 0, fait.stderr
    assert fait.stdout == "10 320 3\n"
