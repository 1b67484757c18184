#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless, then the
# same tests in the sanitizer build (scripts/sanitize.sh) and every fuzz
# target for 20 seconds (scripts/fuzz.sh). ORBILO_SANITIZE=0 leaves out the
# sanitizer build, ORBILO_FUZZ_SECONDS=0 the fuzzing (or sets another time).
# Arguments go to ctest in both test builds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
install_packages
configure_and_build
export QT_QPA_PLATFORM=offscreen

# Every stage runs even when one before it failed, so that one run shows all.
failed=()
(cd "$BUILD_DIR" && ctest --output-on-failure --timeout 600 "$@") || failed+=("tests")
if [ "${ORBILO_SANITIZE:-1}" != 0 ]; then
  "$ORBILO_ROOT/scripts/sanitize.sh" "$@" || failed+=("sanitizer build")
fi
if [ "${ORBILO_FUZZ_SECONDS:-20}" != 0 ]; then
  "$ORBILO_ROOT/scripts/fuzz.sh" "${ORBILO_FUZZ_SECONDS:-20}" || failed+=("fuzzing")
fi
if [ "${#failed[@]}" -gt 0 ]; then
  echo "Failed: ${failed[*]}" >&2
  exit 1
fi
