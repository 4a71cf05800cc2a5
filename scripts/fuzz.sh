#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while:
#   scripts/fuzz.sh [SECONDS_PER_TARGET (default 10)] [TARGET ...]
#   scripts/fuzz.sh 0 detect -runs=10000000      # a fixed number of inputs instead
# Seeds come from the repository's own machines and driver package; a crash is saved under
# build/fuzz/crashes/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
targets=(dependent_list machine inf gpd printui detect reg_file property_text escpos)
extra=()
if [ $# -gt 0 ]; then
  targets=()
  for arg in "$@"; do
    if [[ $arg == -* ]]; then extra+=("$arg"); else targets+=("$arg"); fi
  done
fi
if ! command -v clang++ >/dev/null; then
  echo "fuzz: skipped, clang++ is not installed (libFuzzer needs clang)"
  exit 0
fi
mkdir -p build/fuzz
log=build/fuzz/build.log
if ! { cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPX_FUZZ=ON -DPX_BENCHMARKS=OFF && cmake --build build/fuzz -j"$(nproc)" --target px_fuzz_all; } \
  >"$log" 2>&1; then
  tail -n 20 "$log" >&2
  echo "fuzz: the fuzz targets did not build (whole output: $log)" >&2
  exit 1
fi

seeds() {  # target -> the files that seed its corpus
  case $1 in
    dependent_list|detect) find machines -name 'usb*.txt' ;;
    machine) find machines -name machine.toml ;;
    inf) echo PX/PX.inf ;;
    gpd) ls PX/*.GPD ;;
    reg_file) find machines -name '*.reg' ;;
    printui | property_text | escpos) ;;
  esac
}
options() {  # target -> its own libFuzzer options
  case $1 in
    # The driver package seeds inputs of 5 to 29 KB, which run at a few hundred a second; a line,
    # a section, a block or a command goes wrong in 4 KB as well as in 29.
    inf | gpd) echo -max_len=4096 ;;
  esac
}
mkdir -p build/fuzz/crashes
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  for f in $(seeds "$target"); do cp "$f" "$corpus/" 2>/dev/null || true; done
  flags=(-rss_limit_mb=2048 -artifact_prefix=build/fuzz/crashes/"$target"-)
  [ "$seconds" != 0 ] && flags+=(-max_total_time="$seconds")
  read -ra own <<<"$(options "$target")"
  echo "fuzz: $target"
  build/fuzz/tests/fuzz/fuzz_"$target" "${flags[@]}" "${own[@]}" "${extra[@]}" "$corpus" 2>&1 |
    grep -E '^(Done|#[0-9]+ +DONE)|ERROR|SUMMARY' || true
  if ls build/fuzz/crashes/"$target"-* >/dev/null 2>&1; then
    echo "fuzz: $target crashed, inputs in build/fuzz/crashes/" >&2
    exit 1
  fi
done
