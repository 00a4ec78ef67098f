#!/usr/bin/env bash
# Builds the Windows installer and the portable zip into build/win/packages.
set -euo pipefail
# shellcheck source=tools/script-errors.sh
source "$(dirname "${BASH_SOURCE[0]}")/script-errors.sh"
VN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$VN_ROOT"
bash tools/deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$(nproc 2>/dev/null || echo 2)" --target installer
ls -1 "$VN_ROOT"/build/win/packages/VellomarNotes3-*
