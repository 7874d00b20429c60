# Debian 12 packages athup builds with; sourced by the scripts. Installs only what is missing.
ATHUP_PACKAGES=(
  g++ cmake ninja-build pkg-config clang-format
  zlib1g-dev libssl-dev libsqlite3-dev
  libcpp-httplib-dev libcurl4-openssl-dev libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl1-mesa-dev
  fonts-arphic-ukai fonts-arphic-uming poppler-utils
  qt6-translations-l10n
  openssl xvfb xauth
)

athup_install_packages() {
  local missing=()
  local package
  for package in "${ATHUP_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
