#!/usr/bin/env bash
# Builds the Debian package of the program:
#   scripts/package.sh              a Release build into build-package/
#                                   -> build-package/vorle6_<version>_<arch>.deb
#   scripts/package.sh BUILD-DIR    the package of an existing, configured build (CI packages
#                                   the build that its tests ran on)
# dpkg-dev provides dpkg-shlibdeps, which works out the package's library dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev
if [[ $# -eq 0 ]]; then
    dir=build-package
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DVORLE_BUILD_TESTS=OFF -DVORLE_BUILD_BENCH=OFF
else
    dir=$1
fi
cmake --build "$dir"
rm -f "$dir"/*.deb
(cd "$dir" && cpack -G DEB)
ls "$dir"/*.deb
