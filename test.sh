#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
install_packages
configure_and_build
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure --timeout 600 "$@"
