# Shared by scripts/run and scripts/test: installs what the build needs and
# builds. Meant to be sourced from the repository root.
set -euo pipefail

# Debian packages the build, the program and the tests need.
STANDORA_PACKAGES=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev
  fonts-liberation2 fonts-liberation
  xvfb xauth xdotool openbox x11-utils iproute2 python3-scapy
  desktop-file-utils appstream dpkg-dev lintian groff-base
)

standora_install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# standora_build DIR [cmake options...]
standora_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@"
  cmake --build "$dir" -j "$(nproc)"
}
