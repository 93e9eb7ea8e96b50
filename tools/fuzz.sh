#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# the given number of seconds (default 600) on its corpus from tests/fuzz/corpus.
# Any single allocation above 64 MB counts as a failure, as does a leak or a
# sanitizer report. Usage: tools/fuzz.sh [seconds] [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}
shift || true
"$root/tools/deps.sh"
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVOCABRIUM_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/tests/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        targets+=("${name#fuzz_}")
    done
fi
for target in "${targets[@]}"; do
    cmake --build "$build" -j"$(nproc)" --target "fuzz_$target" >/dev/null
done
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus" "$build/artifacts/$target"
    cp -n "$root/tests/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
    # The saved list page of the downloader's tests seeds the page parser too.
    [ "$target" = dictionary_list ] && cp -n "$root/tests/data/dictionaries.html" "$corpus"/ 2>/dev/null || true
    echo "== $target ($seconds s)"
    if ! "$build/tests/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" \
            -malloc_limit_mb=64 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
            -artifact_prefix="$build/artifacts/$target/" 2> "$build/fuzz_$target.log"; then
        status=1
        echo "   FAILED: see $build/fuzz_$target.log and $build/artifacts/$target/"
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz_$target.log" | sed 's/^/   /'
done
exit $status
