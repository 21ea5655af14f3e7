#!/usr/bin/env bash
# Hostile files and a failing spelling dictionary: each start shows the window within 5 s, the window answers
# keys, Ctrl+Q ends the program within 5 s, and nothing the user set is lost or written over.
source "$E2E_LIB"
sanitized=no
ldd "$VERBARIUM_BIN" | grep -q libasan && sanitized=yes
e2e_start_desktop
work=$(e2e_workdir)
conf_dir="$XDG_CONFIG_HOME/Ostrand"
conf="$conf_dir/Verbarium.conf"
mkdir -p "$conf_dir"

# Starts the program (optionally under a memory cap of $2 KiB), dismisses the unreadable-settings box when $1 is
# "box", types into the window and leaves with Ctrl+Q.
start_type_quit() {
    local expect=$1 cap=${2:-unlimited} what=$3 box win
    (ulimit -v "$cap"; cd "$work" && exec "$VERBARIUM_BIN") >"$E2E_TMP/app.log" 2>&1 &
    E2E_APP_PID=$!
    if [ "$expect" = box ]; then
        box=$(e2e_wait_window 'Error\.\.\.' 5) || fail "$what: no box saying the settings cannot be read"
        xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
        e2e_wait_no_window 'Error\.\.\.' 5 || fail "$what: the box stayed after Return"
    fi
    win=$(main_window 5) || fail "$what: no window within 5 s"
    [ "$(e2e_visible_count 'Error\.\.\.')" -eq 0 ] || fail "$what: a second box"
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool type --delay 40 "recieve"
    sleep 0.3
    xdotool key ctrl+q
    e2e_wait_exit 5 || fail "$what: Ctrl+Q did not end the program within 5 s"
    [ "$E2E_STATUS" -eq 0 ] || { cat "$E2E_TMP/app.log" >&2; fail "$what: ended with status $E2E_STATUS"; }
    echo "ok: $what"
}

# --- A spelling dictionary whose affix file asks for two billion replacements ---------------------------
dic=$E2E_TMP/dic
mkdir -p "$dic"
# AddressSanitizer ends the program on an allocation it cannot make instead of throwing: the failing worker is
# shown under it by the unit and widget tests.
if [ "$sanitized" = no ]; then
    printf 'SET UTF-8\nREP 2147483647\n' >"$dic/en_US.aff"
    cp /usr/share/hunspell/en_US.dic "$dic/en_US.dic"
    DICPATH=$dic start_type_quit none unlimited "affix file with REP 2147483647"
    rm "$dic/en_US.dic"
fi

# --- A pipe as the .dic: loading never finishes, leaving does ---------------------------------------------
mkfifo "$dic/en_US.dic"
cp /usr/share/hunspell/en_US.aff "$dic/en_US.aff"
DICPATH=$dic start_type_quit none unlimited "a pipe as the spelling dictionary"

# --- Pipes as the settings file and as vrb.ini beside a copy of the program ----------------------------------
prog=$E2E_TMP/prog
mkdir -p "$prog"
cp "$VERBARIUM_BIN" "$prog/verbarium"
rm -f "$conf"
mkfifo "$prog/vrb.ini" "$conf"
VERBARIUM_BIN=$prog/verbarium start_type_quit box unlimited "pipes as Verbarium.conf and vrb.ini"
[ -p "$conf" ] || fail "the pipe in the settings file's place was replaced"
rm "$conf"

# --- The settings file a link to /dev/zero, under a memory cap ----------------------------------------------
# AddressSanitizer reserves terabytes of address space up front: its build runs without the cap.
cap=3000000
[ "$sanitized" = yes ] && cap=unlimited
ln -s /dev/zero "$conf"
start_type_quit box "$cap" "Verbarium.conf linked to /dev/zero, address space $cap KiB"
[ "$(readlink "$conf")" = /dev/zero ] || fail "the link to /dev/zero was replaced"
rm "$conf"

# --- A link to settings kept elsewhere: written through, the link stays ---------------------------------------
mkdir -p "$E2E_TMP/dotfiles"
printf '[1.0.0.0]\nToolBar=Yes\nARA=No\n' >"$E2E_TMP/dotfiles/verbarium.conf"
ln -s "$E2E_TMP/dotfiles/verbarium.conf" "$conf"
start_type_quit none unlimited "Verbarium.conf linked to a file elsewhere"
[ -L "$conf" ] || fail "the link was replaced by a plain file"
grep -q '^WinState=' "$E2E_TMP/dotfiles/verbarium.conf" || fail "the linked file did not get the saved values"
grep -q '^ARA=No$' "$E2E_TMP/dotfiles/verbarium.conf" || fail "the linked file lost its stored value"
rm "$conf"

# --- A settings file with mode 000: said once, kept byte for byte ---------------------------------------------
printf '[1.0.0.0]\nToolBar=No\n' >"$conf"
cp "$conf" "$E2E_TMP/conf.before"
chmod 000 "$conf"
start_type_quit box unlimited "Verbarium.conf with mode 000"
[ "$(stat -c %a "$conf")" = 0 ] || fail "the mode-000 file's mode changed"
cmp -s "$conf" "$E2E_TMP/conf.before" || fail "the mode-000 file was written over"
[ ! -e "$conf.bad" ] || fail "a .bad copy was made of a file that was never read"
