#!/usr/bin/env bash
# The daily backup's systemd user service and timer as systemd itself reads them, the service
# running the quvexctl just built. Exit 77 (skipped) where systemd-analyze is missing.
set -euo pipefail
service="$1" timer="$2" quvexctl="$3"
if ! command -v systemd-analyze >/dev/null; then
    echo "SKIP: systemd-analyze is not installed; the service and timer were not verified"
    exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sed "s|@QUVEXCTL@|$quvexctl|" "$service" >"$work/quvex-backup.service"
cp "$timer" "$work/quvex-backup.timer"
grep -qx "ExecStart=$quvexctl backup --all" "$work/quvex-backup.service"
grep -qx 'Persistent=true' "$work/quvex-backup.timer"
# The manual page they name is installed with the package, not in the build tree.
systemd-analyze verify --man=no "$work/quvex-backup.service" "$work/quvex-backup.timer"
echo "systemd-analyze verify: quvex-backup.service and quvex-backup.timer are clean"
