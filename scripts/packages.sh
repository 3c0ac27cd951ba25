# Debian packages the suite needs; sourced by run.sh and test.sh.
# ensure_packages PKG... installs those that are missing (apt-get, as root or
# through sudo), and nothing when all are there.

VELMORA_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-speech-dev qt6-speech-flite-plugin qt6-speech-speechd-plugin
  qt6-declarative-dev qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libsqlite3-dev sqlite3 libcurl4-openssl-dev libical-dev libbenchmark-dev
  xdg-utils
)
VELMORA_TEST_PACKAGES=(
  xvfb xauth python3-aiosmtpd pulseaudio speech-dispatcher speech-dispatcher-espeak-ng poppler-utils
)

ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
