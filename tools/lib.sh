# Shared by the tools: installs what is missing, quietly, from Debian's packages.
# shellcheck shell=bash

top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# ensure_packages PKG... : installs the packages that are not installed yet.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

core_packages=(cmake ninja-build g++ ccache libgtest-dev googletest git)
windows_packages=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 xvfb xauth
                  fonts-ipafont-gothic locales imagemagick)
bench_packages=(libbenchmark-dev time)
# clang and its libFuzzer runtime for tools/fuzz.
fuzz_packages=(clang-14 libclang-rt-14-dev)

# The Japanese locale makes Wine's ANSI code page 932, as on our users' desktops.
ensure_japanese_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# build PRESET : configure and build one preset.
build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}
