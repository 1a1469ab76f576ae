# Sourced by run.sh and test.sh: installs the Debian packages that are missing, and only those.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installation des paquets manquants : ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}

# What building Relayeur needs, with Qt's and the C library's texts in the user's language;
# Qt's translation tools make the program's own translations (lupdate, lrelease); pkg-config
# finds libgpiod and libmosquitto.
BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libc-l10n libgl-dev libsensors-dev libgpiod-dev libmosquitto-dev pkg-config fonts-dejavu-core)
# What the test suite and benchmarks need on top; the install check validates the menu entries,
# the AppStream metadata, the manual pages and the user service; the LCDd panel is tested
# against the real LCDd; the French system texts are checked in a French locale that the build
# compiles from the sources in locales; the emulated devices draw their modules with zlib; the
# check of the translations reads the sources with python3; MQTT is tested against the real
# mosquitto broker, read with its clients.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth dbus lcdproc tzdata
    desktop-file-utils appstream man-db systemd e2fsprogs locales zlib1g-dev python3 mosquitto
    mosquitto-clients)
# The sanitizer build and the fuzz targets: clang with its runtimes, and llvm-symbolizer for
# readable reports.
SANITIZER_PACKAGES=(clang libclang-rt-dev llvm)
