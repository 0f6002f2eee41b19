#!/usr/bin/env bash
# Installs the Debian packages that building, packaging and running the panel need, if missing.
# With --test it adds what the test suite needs (clang's fuzzing runtime, a virtual display, the
# validators of the package: lintian, and those of its desktop entry, metainfo and manual pages,
# setpriv, which opens a port as a user outside its group, and ser2net, which the network tests
# put in front of the simulator).
set -euo pipefail

packages=(cmake make g++ qt6-base-dev qt6-serialport-dev qt6-svg-dev xdg-utils file dpkg-dev)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(clang libclang-rt-14-dev xvfb desktop-file-utils appstream man-db lintian util-linux ser2net)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
