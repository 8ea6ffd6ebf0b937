#!/usr/bin/env bash
# Installs what is missing, builds VELTA and starts it. Without a display it
# runs the bundled example through the batch tool and says where the
# pictures are.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
velta_ensure_packages

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTA_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)"
bin="$PWD/$build/bin"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin/velta" "$@"
fi

out="$PWD/out/example"
mkdir -p "$out"
echo "No display: running the example through the batch tool."
"$bin/velta-cli" run examples/simple.dat "$out"
echo "Pictures and export of the example are in $out"
ls -1 "$out"
