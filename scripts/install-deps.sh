#!/usr/bin/env bash
# Installs every Debian package the builds and tests need, skipping the work
# when all of them are already present, then the web tests' npm packages
# (package-lock.json) when they are not installed yet. Safe to run again;
# needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ ninja-build make googletest libgtest-dev libgmock-dev libbenchmark-dev
  libfltk1.3-dev libgl-dev libgl1-mesa-dri libglu1-mesa-dev
  libx11-dev libxtst-dev xvfb x11-utils xdotool imagemagick
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  # The fuzz build: clang with libFuzzer and the sanitizer runtimes.
  clang-14 libclang-rt-14-dev
  # The static checks of the test command and the coverage report.
  clang-format-14 clang-tidy-14 gcovr
  wine wine64 wine32:i386 fonts-wine
  # Wine loads these at run time: OpenGL (Mesa's software renderer) and the
  # X extensions of its display driver, for 64-bit and 32-bit programs.
  libgl1 libglx-mesa0 libxrender1 libxi6 libxrandr2 libxcursor1 libxinerama1
  libxcomposite1 libxfixes3 libxxf86vm1
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libxrender1:i386 libxi6:i386
  libxrandr2:i386 libxcursor1:i386 libxinerama1:i386 libxcomposite1:i386
  libxfixes3:i386 libxxf86vm1:i386
  # The web build: Emscripten, and Chromium for its end-to-end tests.
  emscripten chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# node and npm may come from another package than Debian's (NodeSource's
# nodejs brings npm along); Debian's are installed only when there are none.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

# The web tests drive Chromium through puppeteer-core, as pinned in
# package-lock.json; installed again only when the lock file has changed.
install_npm_packages() {
  if ! cmp -s package-lock.json node_modules/.kw-installed-lock.json; then
    echo "Installing the npm packages of package-lock.json"
    npm ci --no-audit --no-fund --loglevel=error
    cp package-lock.json node_modules/.kw-installed-lock.json
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  install_npm_packages
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_npm_packages
