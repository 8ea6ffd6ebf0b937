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
echo "No display: running the example through the batch tool."
status=0
"$bin/velta-cli" run examples/simple.dat "$out" || status=$?
if [ "$status" -ne 0 ]; then
    echo "run.sh: velta-cli run failed with status $status (its messages are above);" \
        "what it wrote is in $out" >&2
    exit "$status"
fi
pictures=$(find "$out" -maxdepth 1 -name '*.png' | wc -l)
if [ "$pictures" -ne 6 ]; then
    echo "run.sh: velta-cli run reported success but wrote $pictures of 6 pictures in $out" >&2
    exit 1
fi
echo "The pictures (geometry, 3d, deflection, stresses, forces, loads .png) and the export"
echo "results.csv of the example are in $out"
ls -1 "$out"
