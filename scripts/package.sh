#!/usr/bin/env bash
# Builds the Debian package build-release/quvex-panel_<version>_<arch>.deb, which holds the
# panel, the simulator, the help, the desktop entry, icons, metainfo and manual pages.
# Install it with: sudo apt install ./build-release/quvex-panel_*.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-release" -j"$(nproc)"
# A package of an older version left beside it would be mistaken for this one.
rm -f "$root"/build-release/quvex-panel_*.deb
(cd "$root/build-release" && cpack -G DEB)
