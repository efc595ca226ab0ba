#!/usr/bin/env bash
# Installs the library, the simulated card and the Python module into a
# scratch prefix and runs a short experiment from what was installed, with
# no LD_LIBRARY_PATH and only the installed package on PYTHONPATH.
#   usage: InstalledModule.sh BUILD_DIR WORK_DIR PYTHON PACKAGE_DIR
set -euo pipefail
build=$(realpath "$1") work=$(realpath -m "$2") python=$3 package_dir=$4
unset LD_LIBRARY_PATH TARVIC_CARDSIM

rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
for component in lib cardsim python; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >> "$work/install.log"
done
cd "$work"
XDG_CONFIG_HOME=$work/config PYTHONPATH=$prefix/$package_dir PYTHONDONTWRITEBYTECODE=1 "$python" - "$prefix" <<'PY'
import sys
import tarvic
assert tarvic.__file__.startswith(sys.argv[1]), tarvic.__file__
with tarvic.Banc("niveaueau", vitesse=400) as banc:
    banc.mode("pid")
    essai = banc.essai(16, progression=False, echelon=50)
print(essai.blocs, len(essai.mesure_pct))
PY
