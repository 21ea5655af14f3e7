#!/usr/bin/env bash
# The Debian package: its control data, its layout once unpacked, and the program started the way
# its applications-menu entry starts it, all inside a throwaway root.
source "$E2E_LIB"
: "${PKG_BINDIR:?}" "${PKG_PROGRAMDIR:?}" "${PKG_DATADIR:?}" "${PKG_DATAROOTDIR:?}" "${PKG_MANDIR:?}"

deb=${VERBARIUM_DEB:-}
if [ -z "$deb" ]; then
    : "${VERBARIUM_BUILD_DIR:?}"
    # Packs what the build already made: data.dat is copied in, not built again.
    start=$SECONDS
    (cd "$VERBARIUM_BUILD_DIR" && "${CPACK_COMMAND:-cpack}" -G DEB -B "$E2E_TMP/pkg") >"$E2E_TMP/cpack.log" 2>&1 \
        || { cat "$E2E_TMP/cpack.log" >&2; fail "cpack -G DEB failed"; }
    deb=$(ls "$E2E_TMP"/pkg/verbarium_*.deb)
    echo "ok: cpack built $(basename "$deb") in $((SECONDS - start)) s"
fi
[ -f "$deb" ] || fail "no package at $deb"

# Control data: name, section, and the run-time dependencies, linked and unlinked.
dpkg-deb -I "$deb" >"$E2E_TMP/control.txt" || fail "dpkg-deb -I cannot read the package"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = verbarium ] || fail "package name is $(field Package)"
[ "$(field Section)" = utils ] || fail "section is $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
grep -q '^ Depends: ' "$E2E_TMP/control.txt" || fail "dpkg-deb -I lists no Depends"
depends=$(field Depends)
for dep in libqt6widgets6 libsqlcipher0 libespeak-ng1 espeak-ng-data xdg-utils fonts-liberation; do
    re="[, ]$dep[ ,(]"
    [[ ",$depends," =~ $re ]] || fail "Depends lacks $dep: $depends"
done
echo "ok: control data (Depends: $depends)"
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = root/root ] || fail "files not owned by root: $owners"

root="$E2E_TMP/root"
dpkg -x "$deb" "$root"
bin=$root$PKG_BINDIR
prog=$root$PKG_PROGRAMDIR
data=$root$PKG_DATADIR
share=$root$PKG_DATAROOTDIR

# Layout: the program with vrb.ini beside it, the links and tools, the data folder, the desktop files.
[ -x "$prog/verbarium" ] && [ ! -L "$prog/verbarium" ] || fail "no program in $PKG_PROGRAMDIR"
[ -f "$prog/vrb.ini" ] || fail "no vrb.ini beside the program"
[ -x "$prog/verbarium-launch" ] || fail "no launcher beside the program"
[ -L "$bin/verbarium" ] && [ "$(readlink -f "$bin/verbarium")" = "$prog/verbarium-command" ] \
    || fail "$PKG_BINDIR/verbarium does not link to the command beside the program"
[ -x "$prog/verbarium-define" ] || fail "no verbarium-define beside the program"
[ -x "$bin/verbarium-mkdict" ] || fail "no verbarium-mkdict"
[ ! -e "$bin/vrb.ini" ] || fail "vrb.ini lies in the bin folder"
cmp -s "$data/data.dat" "$VERBARIUM_DATA_DAT" || fail "data.dat differs from the built dictionary"
[ -f "$data/vrb.hlp" ] && [ -f "$data/WORDNET-LICENSE" ] || fail "help or WordNet licence missing in the data folder"
desktop=$share/applications/verbarium.desktop
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$share/metainfo/io.github.verbarium.Verbarium.metainfo.xml" ] || fail "no metainfo"
for px in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${px}x${px}/apps/verbarium.png
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${px}x${px}" ] || fail "icon ${px}x${px} missing or of the wrong size"
done
copyright=$share/doc/verbarium/copyright
grep -q 'WordNet 3.0 Copyright 2006 by Princeton University' "$copyright" \
    && grep -q 'MAKES NO REPRESENTATIONS OR WARRANTIES' "$copyright" || fail "copyright lacks WordNet's notice"
zcat "$share/doc/verbarium/changelog.gz" | head -n1 | grep -q '^verbarium (1\.0\.0)' || fail "no Debian changelog"
for page in verbarium verbarium-mkdict; do
    man=$root$PKG_MANDIR/man1/$page.1.gz
    [ -f "$man" ] || fail "no man page $page.1"
    warnings=$(zcat "$man" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $page.1: $warnings"
done
zcat "$root$PKG_MANDIR/man1/verbarium.1.gz" | grep -q 'Verbarium.conf' || fail "the man page does not name the settings file"
echo "ok: layout"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/io.github.verbarium.Verbarium.metainfo.xml" >"$E2E_TMP/appstream.log" 2>&1 \
        || { cat "$E2E_TMP/appstream.log" >&2; fail "appstreamcli rejects the metainfo"; }
fi

e2e_menu_command "$root" "$desktop"
e2e_start_desktop
# The single-instance name is per user and display.
instance="@Verbarium-$(id -u)-$(printf '%s' "$DISPLAY" | tr -c 'A-Za-z0-9' '_')"
instance_listening() { grep -q -- " $instance\$" /proc/net/unix; }
wait_instance_free() {
    local end=$((SECONDS + 120))
    while instance_listening; do
        [ $SECONDS -lt $end ] || fail "another Verbarium of this user keeps running"
        sleep 0.5
    done
}
wait_instance_free

# "/m" passes through the launcher: the program runs in the data folder with nothing on screen.
e2e_start_from_menu /m
end=$((SECONDS + 15))
until [ "$(readlink "/proc/$E2E_APP_PID/exe" 2>/dev/null)" = "$prog/verbarium" ] && instance_listening; do
    [ $SECONDS -lt $end ] || fail "the launcher did not start the program"
    e2e_alive || { cat "$E2E_TMP/app.log" >&2; fail "the program ended at start"; }
    sleep 0.1
done
[ "$(readlink "/proc/$E2E_APP_PID/cwd")" = "$data" ] || fail "the program does not run in the data folder"
# The socket listens before start-up ends, and a request that comes that early is lost: wait until the
# program stops using processor time.
cpu_time() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
end=$((SECONDS + 20))
before=$(cpu_time "$E2E_APP_PID")
while sleep 0.5; [ $SECONDS -lt $end ]; do
    now=$(cpu_time "$E2E_APP_PID")
    [ "$now" = "$before" ] && break
    before=$now
done
e2e_alive || fail "the program ended after a start with /m"
[ "$(e2e_visible_count Verbarium)" -eq 0 ] || fail "a start with /m shows a window"
echo "ok: the launcher starts the program in $PKG_DATADIR, hidden with /m"

# A second start from the menu brings the running program's window forward.
(cd "$HOME" && exec "${E2E_MENU_COMMAND[@]}") >"$E2E_TMP/second.log" 2>&1 || fail "the second start from the menu exited $?"
win=$(e2e_wait_window Verbarium 15) || { cat "$E2E_TMP/second.log" "$E2E_TMP/app.log" >&2; fail "the window did not map after a second start"; }
sleep 1
e2e_screenshot package-menu-start
echo "ok: the menu entry's second start shows the window"
kill "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null || true
E2E_APP_PID=""
e2e_wait_no_window Verbarium 5 || fail "the window outlived the program"

# Started through the bin folder's link, the program still reads vrb.ini in its real folder.
rm -rf "$XDG_CONFIG_HOME/Ostrand"
wait_instance_free
sed -i 's/^WinState=.*/WinState=2/' "$prog/vrb.ini"
(cd "$data" && exec "$bin/verbarium") >"$E2E_TMP/link.log" 2>&1 &
E2E_APP_PID=$!
win=$(e2e_wait_window Verbarium 15) || fail "the window did not map when started through $PKG_BINDIR/verbarium"
width=0
end=$((SECONDS + 5))
while [ $SECONDS -lt $end ]; do
    width=$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p')
    [ "$width" -ge 1200 ] && break
    sleep 0.2
done
e2e_screenshot package-link-start
[ "$width" -ge 1200 ] || fail "vrb.ini beside the program was not read through the link (width $width)"
echo "ok: started through the link, vrb.ini beside the real program applies (width $width)"
