#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
#   ./test.sh              build into build/ and run the tests
#   ./test.sh --sanitize   the same under AddressSanitizer and UndefinedBehaviorSanitizer,
#                          in build-sanitize/
#   ./test.sh --fuzz       build the libFuzzer targets with clang++ into build-fuzz/ and run
#                          each for 60 seconds from the seeds in fuzz/corpus/
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

# Runs every fuzz target for a bounded time; a crash or a broken promise fails the run and
# leaves the input in build-fuzz/artifacts/.
run_fuzzers() {
    scripts/install-deps.sh --fuzz
    local dir=build-fuzz
    cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DVORLE_BUILD_FUZZERS=ON \
          -DVORLE_BUILD_TESTS=OFF -DVORLE_BUILD_BENCH=OFF
    local name
    local names=(intel_hex_reader srecord_reader binary_reader data_file_reader)
    for name in "${names[@]}"; do
        cmake --build "$dir" --target "fuzz_$name"
    done
    mkdir -p "$dir/artifacts"
    for name in "${names[@]}"; do
        local seeds=fuzz/corpus/${name%_reader}
        # New inputs go to the build folder's corpus; the repository's seeds are only read.
        mkdir -p "$dir/corpus/$name"
        echo "Fuzzing $name for 60 s"
        "$dir/fuzz/fuzz_$name" -max_total_time=60 -print_final_stats=1 \
            -artifact_prefix="$dir/artifacts/$name-" "$dir/corpus/$name" "$seeds"
    done
}

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
    --fuzz)
        run_fuzzers
        exit 0
        ;;
    *)
        echo "usage: $0 [--sanitize | --fuzz]" >&2
        exit 2
        ;;
esac

cmake -S . -B "$dir" -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "${options[@]}"
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
