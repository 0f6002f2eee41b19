#!/usr/bin/env bash
# Builds the panel and starts it. When no port link for COM 1 exists it starts the simulated
# unit on COM 1 first (model QVM unless QUVEX_MODEL names another) and stops it with the panel.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-release" -j"$(nproc)" --target quvex-panel quvex-sim

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display: the panel is a desktop window and needs an X11 or Wayland session." >&2
    echo "Built: $root/build-release/src/app/quvex-panel" >&2
    exit 1
fi

ports="${XDG_CONFIG_HOME:-$HOME/.config}/quvex/ports"
sim_pid=""
if [[ ! -e "$ports/com1" ]]; then
    "$root/build-release/sim/quvex-sim" --com 1 --model "${QUVEX_MODEL:-QVM}" &
    sim_pid=$!
    trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do [[ -e "$ports/com1" ]] && break; sleep 0.1; done
    echo "Simulated ${QUVEX_MODEL:-QVM} unit on COM 1: choose its model in the panel."
fi

# readme.txt, the operators' help, is opened from the working directory.
cd "$root"
"$root/build-release/src/app/quvex-panel"
