#!/usr/bin/env bash
# Installs what Velmora needs, builds it, installs it into dist/ and starts
# the suite's programs that exist.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
cmake --install build --prefix "$PWD/dist" >/dev/null
echo "Velmora is installed in $PWD/dist"
if [ ! -e dist/Data/VelmoraV2.mdb ]; then
  # A first install gets a database with a sample set to look at.
  dist/bin/velmora_dbtool --create dist/Data/VelmoraV2.mdb --demo
fi

started=0
for program in velmora_bar Velmora; do
  if [ -x "dist/bin/$program" ]; then
    echo "Starting $program"
    "dist/bin/$program" &
    started=1
  fi
done
if [ "$started" -eq 0 ]; then
  echo "No windowed program is built yet; the tools are in dist/bin:"
  ls dist/bin
  exit 0
fi
wait
