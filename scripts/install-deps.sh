#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when they are
# missing. Options, before any extra package names:
#   --fuzz             what the fuzz targets need (clang++ and its libFuzzer and sanitizer runtimes)
#   --package-checks   what checks the Debian package: dpkg-dev (for cpack's dependency list),
#                      lintian, appstream (appstreamcli) and desktop-file-utils
# Extra package names may be given as arguments.
set -euo pipefail

optional_packages=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --fuzz) optional_packages+=(clang libclang-rt-14-dev) ;;
        --package-checks) optional_packages+=(dpkg-dev lintian appstream desktop-file-utils) ;;
        *) break ;;
    esac
    shift
done

# qt6-tools-dev: CMake's Qt Linguist tools (qt_add_lrelease); qt6-l10n-tools: lupdate and
# lrelease themselves. The line database: Qt's SQLite and PostgreSQL drivers, and the
# PostgreSQL server that the tests start a private instance of (initdb, pg_ctl). clang-format:
# the tests fail on an unformatted source.
packages=(cmake ninja-build g++ pkg-config clang-format qt6-base-dev qt6-serialport-dev libgl-dev
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-ipafont-gothic
          libqt6sql6-sqlite libqt6sql6-psql postgresql "${optional_packages[@]}" "$@")

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "Cannot install packages (not root and no sudo): ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
