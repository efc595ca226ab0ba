# What every script does first, from the repository's root: install the
# missing Debian packages, and let ccache key on paths relative to this clone
# so that another clone on the same machine (CI's) reuses what it compiled.
# Sourced by the scripts of this folder.
source scripts/packages.sh
install_missing_packages
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
