# Shared by scripts/run and scripts/test: install what a fresh Debian 12 lacks, configure, build.
# Sourced, not run.

TARVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
TARVEL_BUILD="${TARVEL_BUILD:-$TARVEL_ROOT/build}"

tarvel_packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins
  qt6-svg-dev libqt6svg6
  libpng-dev
  libbenchmark-dev
  libdxflib-dev
  fonts-liberation fonts-dejavu-core
  qt6-translations-l10n
  xvfb xauth
  poppler-utils
  time
  desktop-file-utils
  lintian libglib2.0-bin
)

tarvel_install() {
  local missing=()
  for p in "${tarvel_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

tarvel_build() {
  local jobs
  jobs="$(nproc 2>/dev/null || echo 2)"
  # A developer's ccache, when there is one, makes rebuilds in several checkouts cheap; it is
  # not a dependency and a fresh machine builds without it.
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S "$TARVEL_ROOT" -B "$TARVEL_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
  cmake --build "$TARVEL_BUILD" --parallel "$jobs"
}
