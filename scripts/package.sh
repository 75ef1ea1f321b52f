#!/usr/bin/env bash
# Builds the Debian package of the program (Release, into build-package/):
#   scripts/package.sh   ->  build-package/vorle6_<version>_<arch>.deb
# dpkg-dev provides dpkg-shlibdeps, which works out the package's library dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DVORLE_BUILD_TESTS=OFF -DVORLE_BUILD_BENCH=OFF
cmake --build build-package
(cd build-package && cpack -G DEB)
ls build-package/*.deb
