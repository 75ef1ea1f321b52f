#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
#   ./test.sh              build into build/ and run the tests
#   ./test.sh --sanitize   the same under AddressSanitizer and UndefinedBehaviorSanitizer,
#                          in build-sanitize/
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
case "$mode" in
    "")
        scripts/install-deps.sh
        dir=build
        options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
        ;;
    --sanitize)
        scripts/install-deps.sh
        dir=build-sanitize
        options=(-DCMAKE_BUILD_TYPE=Debug -DVORLE_SANITIZE=ON -DVORLE_BUILD_BENCH=OFF)
        ;;
    *)
        echo "usage: $0 [--sanitize]" >&2
        exit 2
        ;;
esac

cmake -S . -B "$dir" -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "${options[@]}"
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
