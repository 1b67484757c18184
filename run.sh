#!/usr/bin/env bash
# Installs what is missing, builds, lays out the program folder and starts Orbilo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"
install_packages
configure_and_build
exec "$BUILD_DIR/orbilo" "$@"
