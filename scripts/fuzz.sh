#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz/) with clang and libFuzzer in
# build-fuzz/, runs each for the given number of seconds from its seed corpus,
# then replays the saved crash inputs. Any crash fails the script; the input
# that caused it is left in build-fuzz/artifacts/<target>/ and belongs, once
# understood, in tests/fuzz/regressions/<target>/.
#
#   scripts/fuzz.sh [seconds per target, default 20] [target ...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

FUZZ_BUILD_DIR="${ORBILO_FUZZ_BUILD_DIR:-$ORBILO_ROOT/build-fuzz}"
FUZZ_SOURCE_DIR="$ORBILO_ROOT/tests/fuzz"
# clang with the libFuzzer runtime, and the symbolizer for readable stacks.
ORBILO_PACKAGES+=(clang libclang-rt-14-dev llvm)
ALL_TARGETS=(ini lesson geoindex globestream gif picture flag resultfile archive shp mif lyr)

# Longest input per target: a little beyond the largest real file of its
# kind that is worth mutating (lessons and indexes are cut-down excerpts).
max_len() {
  case "$1" in
    flag) echo 1024 ;;
    resultfile) echo 8192 ;;
    ini) echo 16384 ;;
    *) echo 65536 ;;
  esac
}

fuzz_configure_and_build() {
  # The libraries get coverage feedback and the sanitizers too; only the
  # fuzz programs link libFuzzer's main. Qt stays the system's g++ build.
  cmake -S "$ORBILO_ROOT" -B "$FUZZ_BUILD_DIR" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
    -DORBILO_FUZZ=ON
  local targets=()
  for t in "${TARGETS[@]}"; do targets+=("fuzz_$t"); done
  cmake --build "$FUZZ_BUILD_DIR" --parallel "$(nproc)" --target "${targets[@]}"
}

# Runs one target; returns non-zero when it found a crash.
fuzz_one() {
  local target="$1" seconds="$2"
  local binary="$FUZZ_BUILD_DIR/fuzz/fuzz_$target"
  local work="$FUZZ_BUILD_DIR/corpus/$target" artifacts="$FUZZ_BUILD_DIR/artifacts/$target"
  local seeds="$FUZZ_SOURCE_DIR/corpus/$target" dict="$FUZZ_SOURCE_DIR/$target.dict"
  mkdir -p "$work" "$artifacts"
  local args=(-max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=30 -rss_limit_mb=2560
              -artifact_prefix="$artifacts/" -print_final_stats=1)
  [ -f "$dict" ] && args+=(-dict="$dict")
  echo "=== fuzz_$target: $seconds s"
  # New inputs go to the first folder (kept between runs); the seeds stay as committed.
  "$binary" "${args[@]}" "$work" "$seeds"
}

replay_regressions() {
  local target="$1" folder="$FUZZ_SOURCE_DIR/regressions/$1"
  local inputs=()
  if [ -d "$folder" ]; then
    while IFS= read -r -d '' f; do inputs+=("$f"); done < <(find "$folder" -maxdepth 1 -type f ! -name '.*' -print0 | sort -z)
  fi
  [ "${#inputs[@]}" -eq 0 ] && return 0
  echo "=== fuzz_$target: replaying ${#inputs[@]} saved crash input(s)"
  "$FUZZ_BUILD_DIR/fuzz/fuzz_$target" -timeout=60 -rss_limit_mb=2560 "${inputs[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  SECONDS_PER_TARGET="${1:-20}"
  shift || true
  TARGETS=("$@")
  [ "${#TARGETS[@]}" -eq 0 ] && TARGETS=("${ALL_TARGETS[@]}")
  install_packages
  fuzz_configure_and_build
  export QT_QPA_PLATFORM=offscreen
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
  # Leaks of our own code are faults like any other; fontconfig's are not ours.
  export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ORBILO_ROOT/tests/lsan.supp:print_suppressions=0}"
  if command -v llvm-symbolizer >/dev/null 2>&1; then
    export ASAN_SYMBOLIZER_PATH="${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer)}"
  fi
  failed=()
  for target in "${TARGETS[@]}"; do
    replay_regressions "$target" || { failed+=("$target (saved input)"); continue; }
    fuzz_one "$target" "$SECONDS_PER_TARGET" || failed+=("$target")
  done
  if [ "${#failed[@]}" -gt 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]} (inputs in $FUZZ_BUILD_DIR/artifacts/)" >&2
    exit 1
  fi
  echo "Fuzzing found no faults in: ${TARGETS[*]}"
fi
