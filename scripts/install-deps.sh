#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when they are
# missing. --fuzz adds what the fuzz targets need (clang++ and its libFuzzer and sanitizer
# runtimes). Extra package names may be given as arguments.
set -euo pipefail

fuzz_packages=()
if [[ ${1:-} == --fuzz ]]; then
    fuzz_packages=(clang libclang-rt-14-dev)
    shift
fi

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
          qt6-translations-l10n fonts-ipafont-gothic desktop-file-utils "${fuzz_packages[@]}" "$@")

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
