#!/usr/bin/env bash
# Builds the Debian package from build-release and checks it as a user would get it, without
# installing anything on this machine: apt would accept it, lintian finds nothing in it, it holds
# what install() names and nothing else, its desktop entry, metainfo and manual pages validate
# cleanly, and its programs run from the unpacked tree and find the help where the panel looks
# for it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-release"
app_id=org.quvex.Panel

# Every program has its manual page in man1; the command-line ones answer --help.
commands=(quvex-sim quvexctl)
programs=(quvex-panel "${commands[@]}")

fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

for tool in cpack dpkg-deb dpkg-shlibdeps file apt-get lintian desktop-file-validate appstreamcli man readelf; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/setup.sh --test"
done
[[ -f "$build/CPackConfig.cmake" ]] || fail "no configured $build; run scripts/test.sh first"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

rm -f "$build"/quvex-panel_*.deb
(cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$build"/quvex-panel_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || fail "cpack wrote no quvex-panel_*.deb"
deb="${debs[0]}"
ok "built $(basename "$deb")"

apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get cannot satisfy $(basename "$deb")"; }
ok "apt-get install --simulate is satisfied"

# Every finding it prints counts, not only those that fail the run. Its findings go to standard
# output; standard error holds only its note that it runs as root, which is none.
lintian --fail-on error,warning "$deb" >"$work/lintian.out" 2>"$work/lintian.err" \
    || { cat "$work/lintian.out" "$work/lintian.err" >&2; fail "lintian"; }
[[ ! -s "$work/lintian.out" ]] || { cat "$work/lintian.out" >&2; fail "lintian has findings"; }
ok "lintian --fail-on error,warning finds nothing"

tree="$work/tree"
dpkg-deb -x "$deb" "$tree" || fail "dpkg-deb -x"
usr="$tree/usr"
[[ "$(ls "$usr/bin")" == "$(printf '%s\n' "${programs[@]}" | sort)" ]] \
    || fail "usr/bin holds $(ls "$usr/bin" | xargs), not ${programs[*]}"
strays="$(cd "$tree" && find . -type f | grep -Ev '^\./usr/(bin/[^/]+|share/(applications|metainfo|quvex-panel|doc/quvex-panel|man/man1)/[^/]+|share/icons/hicolor/[^/]+/apps/[^/]+|lib/systemd/user/quvex-backup\.(service|timer))$' || true)"
[[ -z "$strays" ]] || fail "files that nothing should install: $strays"
ok "the package holds ${programs[*]} and their data, nothing else"

if readelf -d "$usr"/bin/* | grep -E 'R(UN)?PATH'; then
    fail "a program carries a run path"
fi
ok "no program carries a run path"

units="$usr/lib/systemd/user"
[[ -f "$units/quvex-backup.timer" ]] || fail "no quvex-backup.timer in usr/lib/systemd/user"
grep -qx 'ExecStart=/usr/bin/quvexctl backup --all' "$units/quvex-backup.service" \
    || fail "quvex-backup.service does not run /usr/bin/quvexctl backup --all"
ok "the daily backup's user service and timer are installed"

desktop="$usr/share/applications/$app_id.desktop"
[[ -f "$desktop" ]] || fail "no $app_id.desktop"
out="$(desktop-file-validate "$desktop" 2>&1)" && [[ -z "$out" ]] || fail "desktop-file-validate: $out"
ok "desktop-file-validate $app_id.desktop is clean"

metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
[[ -f "$metainfo" ]] || fail "no $app_id.metainfo.xml"
out="$(appstreamcli validate --no-net "$metainfo" 2>&1)" && ! grep -q '^[EW]:' <<<"$out" \
    || fail "appstreamcli validate: $out"
ok "appstreamcli validate $app_id.metainfo.xml is clean"

icons="$usr/share/icons/hicolor"
[[ "$(file -b "$icons/scalable/apps/$app_id.svg")" == SVG* ]] || fail "no scalable $app_id.svg"
for png in "$icons"/*x*/apps/"$app_id".png; do
    size="$(basename "$(dirname "$(dirname "$png")")")"
    [[ "$(file -b "$png")" == "PNG image data, ${size/x/ x }, "* ]] || fail "$png is not a $size PNG"
done
ok "icons: scalable SVG and PNG $(cd "$icons" && ls -d *x* | sort -n | xargs)"

for program in "${programs[@]}"; do
    page="$usr/share/man/man1/$program.1.gz"
    [[ -f "$page" ]] || fail "no manual page $program.1.gz"
    MANWIDTH=80 man --warnings -l "$page" >/dev/null 2>"$work/man.err" || fail "man $program.1"
    [[ ! -s "$work/man.err" ]] || { cat "$work/man.err" >&2; fail "man --warnings $program.1"; }
    ok "man --warnings $program.1 is clean"
done

for command in "${commands[@]}"; do
    "$usr/bin/$command" --help >"$work/help.out" 2>&1 || { cat "$work/help.out" >&2; fail "$command --help"; }
    ok "unpacked $command --help runs"
done

status=0
(cd "$work" && QT_QPA_PLATFORM=offscreen timeout 3 "$usr/bin/quvex-panel") >"$work/panel.log" 2>&1 || status=$?
[[ $status -eq 124 ]] || { cat "$work/panel.log" >&2; fail "unpacked quvex-panel stopped with status $status within 3 s"; }
ok "unpacked quvex-panel starts and keeps running"

cmp -s "$usr/bin/../share/quvex-panel/readme.txt" "$root/readme.txt" \
    || fail "readme.txt is not at bin/../share/quvex-panel/readme.txt, where Help looks"
ok "readme.txt lies where Help looks for it beside the program"
