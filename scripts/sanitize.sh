#!/usr/bin/env bash
# A second build with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ that runs the same CTest suite; any sanitizer report fails it.
# Arguments go to ctest (e.g. -R lesson_tests).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ASAN_BUILD_DIR="${ORBILO_ASAN_BUILD_DIR:-$ORBILO_ROOT/build-asan}"
# g++ leaves float-cast-overflow out of "undefined" (clang does not): a double
# beyond the integer range converted to an integer is undefined all the same.
SANITIZE_FLAGS="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer"

# halt_on_error: the first report ends the test executable with an error, so
# CTest counts it as failed. Leaks are reported too, except fontconfig's,
# which it keeps until exit on purpose (tests/lsan.supp). No
# strict_string_checks: it takes libxkbcommon's strndup of an unterminated
# reply for an overflow, and the program on a real display never starts.
export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ORBILO_ROOT/tests/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export QT_QPA_PLATFORM=offscreen

sanitize_configure_and_build() {
  # -O1 keeps the tests quick and the stacks readable; assertions stay on.
  # Benchmarks are left out: they measure rather than test, and take long here.
  # Configured every time, so that changed flags reach an existing folder.
  cmake -S "$ORBILO_ROOT" -B "$ASAN_BUILD_DIR" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined,float-cast-overflow" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined,float-cast-overflow" \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
  cmake --build "$ASAN_BUILD_DIR" --parallel "$(nproc)"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  install_packages
  sanitize_configure_and_build
  cd "$ASAN_BUILD_DIR"
  # The sanitizers make the globe and data tests several times slower.
  ctest --output-on-failure --timeout 1800 "$@"
fi
