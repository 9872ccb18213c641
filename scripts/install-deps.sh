#!/usr/bin/env bash
# Installs the Debian packages that a task needs, only those missing.
# Usage: scripts/install-deps.sh test|run|package
set -euo pipefail

build=(cmake ninja-build g++ pkg-config libjpeg-dev libgif-dev libpng-dev libicu-dev nlohmann-json3-dev libpugixml-dev gettext
       qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n fonts-dejavu-core fonts-liberation)
test=(libgtest-dev libgmock-dev libbenchmark-dev libtinyxml2-dev clang-14 clang-format-14 libclang-rt-14-dev llvm-14 shellcheck
      xvfb xauth x11-utils xdotool imagemagick xclip locales
      dbus dbus-x11 at-spi2-core python3-pyatspi libxcb1-dev
      desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin groff-base python3 lintian)
# The package is made by CPack, which finds the binaries with file and computes their dependencies
# with dpkg-shlibdeps.
package=(dpkg-dev file)
# Without a display the run command shows the program in a virtual one.
display=(xvfb xauth x11-utils imagemagick)

case "${1:-}" in
    test) wanted=("${build[@]}" "${test[@]}" "${package[@]}") ;;
    package) wanted=("${build[@]}" "${package[@]}") ;;
    run) wanted=("${build[@]}" "${display[@]}") ;;
    *) echo "usage: $0 test|run|package" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
