#!/usr/bin/env bash
# The program as a screen reader user meets it: found, read and driven through AT-SPI alone. The search box
# takes the focus and the typing; the headword and the position are read from their accessible names and
# are reported as they change; pronunciations read with their stress marks in place; "Hide Words Explorer" is toggled through its accessible action and the
# window narrows; the open tray menu is the program's popup menu; F1 opens the help; Ctrl+Q ends the program.
source "$E2E_LIB"
e2e_start_desktop
work=$(e2e_workdir)
cp "$(dirname "${BASH_SOURCE[0]}")/../../data/vrb.hlp" "$work/"

e2e_start_atspi

e2e_start_app "$work"
atspi wait || fail "the main window did not appear in the accessibility tree"
atspi tree >"$E2E_ARTIFACTS/accessibility-tree.txt" || fail "the accessibility tree could not be read"
grep -q "\[list\] 'Word list'.*manages descendants: [0-9]\{6\} children" "$E2E_ARTIFACTS/accessibility-tree.txt" \
    || fail "the word list does not offer its rows as descendants it manages"
lines=$(wc -l <"$E2E_ARTIFACTS/accessibility-tree.txt")
[ "$lines" -lt 400 ] || fail "reading the tree took $lines objects: the word list's rows were not left lazy"
echo "ok: the tree reads in $lines objects, the word list's rows only as far as they are shown"

atspi focus Search || fail "the search box did not take the focus"
atspi type serendipity >"$E2E_TMP/renames" || fail "typing through the accessibility bus failed"
cat "$E2E_TMP/renames"
headword=$(atspi name "The headword whose entry is shown")
[ "$headword" = "serendipity" ] || fail "the headword reads \"$headword\""
position=$(atspi name "Position of the headword in the dictionary: its row, a slash, the number of headwords")
[[ "$position" =~ ^[0-9]+/[0-9]+$ ]] || fail "the position reads \"$position\""
grep -q "name changed: 'serendipity' — The headword whose entry is shown" "$E2E_TMP/renames" \
    || fail "the new headword was not reported"
grep -q "name changed: '$position' — Position of the headword" "$E2E_TMP/renames" \
    || fail "the new position was not reported"
e2e_screenshot accessibility-typed
echo "ok: typing shows \"$headword\" at $position, both read and reported through AT-SPI"

# The pronunciation beside the headword reads as a dictionary prints it: each stress mark before its syllable.
pronunciation() {
    local end=$((SECONDS + 5)) text
    while :; do
        text=$(atspi name "Pronunciation of the headword")
        if [ "$text" = "$1" ] || [ $SECONDS -ge $end ]; then
            echo "$text"
            return 0
        fi
        sleep 0.2
    done
}
said=$(pronunciation "/ˌsɛɹənˈdɪpɪti/")
[ "$said" = "/ˌsɛɹənˈdɪpɪti/" ] || fail "serendipity is pronounced \"$said\""
atspi key ctrl+a
atspi type lighthouse >/dev/null || fail "typing through the accessibility bus failed"
said=$(pronunciation "/ˈlaɪthaʊs/")
[ "$said" = "/ˈlaɪthaʊs/" ] || fail "lighthouse is pronounced \"$said\""
echo "ok: serendipity reads /ˌsɛɹənˈdɪpɪti/ and lighthouse /ˈlaɪthaʊs/"

# Waits up to 5 s until the window's width compares to $2 as test's operator $1 says.
wait_width() {
    local end=$((SECONDS + 5))
    until [ "$(atspi width)" "$1" "$2" ]; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.2
    done
}

wide=$(atspi width)
[ "$(atspi checked "Hide Words Explorer")" = unchecked ] || fail "the explorer command starts checked"
atspi action "Hide Words Explorer" Toggle || fail "the explorer button offers no Toggle"
wait_width -lt "$wide" || fail "toggling \"Hide Words Explorer\" left the window $wide wide"
[ "$(atspi checked "Show Words Explorer")" = checked ] || fail "the explorer button does not read checked"
e2e_screenshot accessibility-explorer-hidden
echo "ok: the accessible Toggle hides the explorer: the window narrows from $wide to $(atspi width)"
atspi action "Show Words Explorer" Toggle || fail "the explorer button offers no Toggle to show it again"
wait_width -eq "$wide" || fail "toggling again did not bring the window back to $wide"
echo "ok: toggling again shows the explorer and the window is $wide wide again"

# The tray's own menu is opened by the desktop's panel, with the mouse on the icon; reading it is ours.
icon=$(e2e_tray_icon) || fail "no tray icon"
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove --sync $((X + 11)) $((Y + 11)) click 3
atspi popup >"$E2E_TMP/popup" || fail "the open tray menu is not in the accessibility tree"
cat "$E2E_TMP/popup"
[ "$(tr '\n' ' ' <"$E2E_TMP/popup")" = "[menu item] 'Restore' [separator] '' [menu item] 'Speak' [menu item] 'Stop' [separator] '' [menu item] 'Exit' " ] \
    || fail "the tray menu reads otherwise"
atspi key Escape
echo "ok: the open tray menu is the program's popup menu, Restore to Exit"

atspi focus Search || fail "the search box did not take the focus back"
atspi key F1
atspi window "Verbarium Help" || fail "F1 did not open the help"
echo "ok: F1 opens the help"

# Back to the main window through the window manager's key, as a keyboard user would.
atspi key alt+F4
sleep 0.5
atspi focus Search
atspi key ctrl+q
e2e_wait_exit 10 || fail "Ctrl+Q did not end the program"
[ "$E2E_STATUS" -eq 0 ] || fail "Ctrl+Q ended the program with status $E2E_STATUS"
[ -s "$XDG_CONFIG_HOME/Ostrand/Verbarium.conf" ] || fail "Ctrl+Q ended without storing the settings"
echo "ok: Ctrl+Q runs Exit: the settings are stored and the program ends with status 0"
