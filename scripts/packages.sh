# Debian packages the project needs, and how to install the missing ones.
# Sourced by scripts/setup.sh (and scripts/fuzz).

TARVIC_PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  clang-format-19                               # scripts/check-format: the version .clang-format is written for
  qt6-base-dev qt6-serialport-dev libgl-dev     # widgets, painting, the serial port list
  zlib1g-dev                                    # the CRC-32 that checks the console's archives
  libeigen3-dev                                 # Levenberg-Marquardt for the process models
  nlohmann-json3-dev                            # the console's JSON results
  libsqlite3-dev                                # the console's run history
  libmosquitto-dev libssl-dev                   # the room's MQTT client (libmosquitto), with TLS through OpenSSL
  mosquitto mosquitto-clients openssl           # the room's broker, the tests' broker and their certificates
  libgtest-dev libgmock-dev libbenchmark-dev    # tests and benchmarks
  fonts-liberation fonts-urw-base35             # "Times New Roman" and "Symbol" faces
  xvfb xauth xdotool imagemagick                # panels on a virtual display, screenshots
  srecord                                       # srec_cat makes the S-record test images
  clang libclang-rt-dev                         # the libFuzzer targets (scripts/fuzz)
  locales-all                                   # tests run under a French locale
  qt6-translations-l10n                         # Qt's own dialogs and buttons in French
  desktop-file-utils appstream man-db           # checks of the menu entries, metainfo, manual pages
  pybind11-dev python3-dev python3-numpy        # the Python module: its binding, numpy arrays
  python3-pytest python3-matplotlib             # its tests, and the plots of its examples
  jupyter-nbconvert python3-ipykernel           # the example notebook, run headless by the tests
  poppler-utils                                 # pdftotext, pdftoppm, pdffonts: the tests read the PDF reports back
)

# Only scripts/package needs these: the shared-library dependencies and the
# package checks.
TARVIC_PACKAGING_PACKAGES=(dpkg-dev file lintian)

# usage: install_missing_packages [more packages...]
install_missing_packages() {
  local missing=()
  for package in "${TARVIC_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
  fi
}
