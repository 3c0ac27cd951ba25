#!/usr/bin/env bash
# Installs what the build and the tests need, builds, and runs every test
# headless. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" "${VELMORA_TEST_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Tests never see a real user's settings, session or clock.
unset VELMORA_INSTALL_ROOT VELMORA_HKCU VELMORA_SESSION VELMORA_FAKE_NOW VELMORA_DIALOGS VELMORA_DIALOG_ANSWERS
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 300
