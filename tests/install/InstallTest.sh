#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses what was installed as a
# user would, with no LD_LIBRARY_PATH: `cardsim --version`, the Varnok panel
# for one polling cycle against cardsim, a short experiment of tarvic-banc on
# the cardsim installed beside it, and a controlling application built once
# through the CMake package and once through pkg-config, then run.
#   usage: InstallTest.sh BUILD_DIR WORK_DIR CONSUMER_SOURCE LIBDIR VERSION CXX [LAUNCHER]
set -euo pipefail
build=$(realpath "$1") work=$(realpath -m "$2") consumer=$(realpath "$3")
libdir=$4 version=$5 cxx=$6 launcher=${7:-}
unset LD_LIBRARY_PATH

fail() { echo "FAIL: $*" >&2; exit 1; }
cleanup() {
  for pid in ${panel_pid:-} ${card_pid:-}; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  panel_pid= card_pid=
}
trap cleanup EXIT

# A fixed place under the build tree keeps the consumers' compile lines the
# same from run to run, so ccache serves them again.
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

echo "--- cardsim --version"
got=$("$prefix/bin/cardsim" --version) || fail "installed cardsim does not start"
[ "$got" = "cardsim $version" ] || fail "cardsim --version printed '$got'"

echo "--- Varnok against cardsim, one cycle"
"$prefix/bin/cardsim" --station varnok --log "$work/traffic.log" > "$work/cardsim.out" &
card_pid=$!
for _ in $(seq 100); do [ -s "$work/cardsim.out" ] && break; sleep 0.05; done
pty=$(head -n 1 "$work/cardsim.out")
[ -n "$pty" ] || fail "installed cardsim printed no pseudo-terminal"
mkdir -p "$work/config/tarvic"
printf '[CONFIGURATION]\nPORT=%s\n' "$pty" > "$work/config/tarvic/Varnok.ini"
XDG_CONFIG_HOME=$work/config TARVIC_REGISTRY_FILE=$work/registry.ini QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/Varnok" 2> "$work/panel.err" &
panel_pid=$!
# One cycle is the greeting answered and the first input poll answered.
for _ in $(seq 200); do
  grep -q '^< !LEL' "$work/traffic.log" 2>/dev/null && break
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$panel_pid" 2>/dev/null || { cat "$work/panel.err"; fail "installed Varnok stopped"; }
grep -q '^> ?VER$' "$work/traffic.log" || fail "Varnok did not greet the card"
grep -q '^< !LEL' "$work/traffic.log" || { cat "$work/traffic.log"; fail "Varnok did not poll the inputs"; }
cleanup

echo "--- tarvic-banc on the installed simulated card"
mkdir -p "$work/banc"
(cd "$work/banc" && "$prefix/bin/tarvic-banc" --banc niveaueau --duree 10 --vitesse 100 --profil "$work/banc/profile.ini" \
  --csv "$work/banc/run.csv" > "$work/banc/out.txt" 2>&1) || { cat "$work/banc/out.txt"; fail "installed tarvic-banc run"; }
[ "$(wc -l < "$work/banc/run.csv")" -gt 1 ] || fail "tarvic-banc wrote no measurement"

expected="tarvic $version: ESR 0A1B"

echo "--- consumer through find_package(tarvic)"
cmake -S "$consumer" -B "$work/cmake-consumer" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" -DCMAKE_PREFIX_PATH="$prefix" > "$work/consumer.log" \
  && cmake --build "$work/cmake-consumer" >> "$work/consumer.log" || { cat "$work/consumer.log"; fail "CMake consumer build"; }
got=$("$work/cmake-consumer/tarvic_consumer") || fail "CMake consumer does not run"
[ "$got" = "$expected" ] || fail "CMake consumer printed '$got', not '$expected'"

echo "--- consumer through pkg-config tarvic"
export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
# A library outside the system folders is found through the program's run path.
$launcher "$cxx" -o "$work/pc-consumer" "$consumer/main.cpp" $(pkg-config --cflags tarvic) \
  $(pkg-config --libs tarvic) "-Wl,-rpath,$(pkg-config --variable=libdir tarvic)" || fail "pkg-config consumer build"
got=$("$work/pc-consumer") || fail "pkg-config consumer does not run"
[ "$got" = "$expected" ] || fail "pkg-config consumer printed '$got', not '$expected'"
echo "Installed programs and consumers run from $prefix"
