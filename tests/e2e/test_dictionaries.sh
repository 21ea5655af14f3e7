#!/usr/bin/env bash
# Other dictionaries as a user who installed dict-gcide and a FreeDict pair meets them: "the" shows GCIDE's
# definite article, "lighthouse" the sections of both; a StarDict dictionary written into the user's folder joins
# the list while a truncated one beside it changes nothing; turning the dictd ones off in the Dictionaries window,
# through AT-SPI alone, gives back the built-in rows plus the test's own.
source "$E2E_LIB"
[ -f /usr/share/dictd/gcide.index ] || fail "dict-gcide is not installed (scripts/apt-packages.txt lists it)"
ls /usr/share/dictd/freedict-*.index >/dev/null 2>&1 || fail "no FreeDict pair is installed (scripts/apt-packages.txt lists one)"
e2e_start_desktop
work=$(e2e_workdir)
unset VERBARIUM_DICTIONARY_FOLDERS
export XDG_DATA_HOME="$HOME/.local/share"
own="$XDG_DATA_HOME/verbarium/dictionaries"
mkdir -p "$own/good" "$own/cut"
# Two words no other dictionary has; the truncated copy has a third, which must never show.
python3 - "$own" <<'PY'
import struct, sys
def write(folder, name, entries, cut=False):
    idx, data = b"", b""
    for word, text in entries:
        t = text.encode()
        idx += word.encode() + b"\0" + struct.pack(">II", len(data), len(t))
        data += t
    if cut:
        idx, data = idx[: len(idx) // 2], data[:7]
    ifo = ("StarDict's dict ifo file\nversion=2.4.2\nbookname=%s\nwordcount=%d\nidxfilesize=%d\nsametypesequence=m\n"
           % (name, len(entries), len(idx)))
    for ext, content in ((".ifo", ifo.encode()), (".idx", idx), (".dict", data)):
        open(f"{folder}/{name}{ext}", "wb").write(content)
write(sys.argv[1] + "/good", "E2E Glossary", [("qqverbarium", "a word written by the end-to-end test"),
                                              ("qqverbariumtwo", "its second word")])
write(sys.argv[1] + "/cut", "E2E Cut", [("qqcutword", "this text must never be shown"),
                                         ("qqcutwordtwo", "nor this one")], cut=True)
PY

e2e_start_atspi
position() { atspi name "Position of the headword in the dictionary: its row, a slash, the number of headwords"; }

e2e_start_app "$work"
atspi wait || fail "the main window did not appear in the accessibility tree"
atspi focus Search || fail "the search box did not take the focus"
# The first start reads the dictionaries behind the window: the word list grows when they join.
look_up() {
    atspi key ctrl+a; atspi key BackSpace
    atspi type "$1" >/dev/null
}
end=$((SECONDS + 30))
until look_up the && grep -q "definite article" <<<"$(atspi entry)"; do
    [ $SECONDS -lt $end ] || fail "\"the\" never showed GCIDE's definite article: $(atspi entry | head -c 300)"
    sleep 1
done
echo "ok: \"the\" shows GCIDE's section with \"definite article\""
grep -q "definite article" <<<"$(cd "$work" && env -u DISPLAY "$VERBARIUM_BIN" --define the)" \
    || fail "verbarium --define the printed no GCIDE section"
echo "ok: verbarium --define the prints GCIDE's section too"

look_up lighthouse
entry=$(atspi entry)
grep -q "The Collaborative International Dictionary of English" <<<"$entry" || fail "lighthouse: no GCIDE section"
grep -q "FreeDict" <<<"$entry" || fail "lighthouse: no FreeDict section"
grep -q "tower" <<<"$entry" || fail "lighthouse: the built-in entry is missing"
e2e_screenshot dictionaries-lighthouse
echo "ok: \"lighthouse\" shows the built-in entry, then GCIDE and FreeDict"

# Each entry is read whole before it is searched: grep -q leaving early would break the reader's pipe.
look_up qqverbarium
[ "$(atspi name "The headword whose entry is shown")" = qqverbarium ] || fail "the StarDict word did not join the list"
entry=$(atspi entry)
grep -q "E2E Glossary" <<<"$entry" || fail "the StarDict section has no heading"
grep -q "a word written by the end-to-end test" <<<"$entry" || fail "the StarDict entry is not shown"
look_up qqcutword
entry=$(atspi entry)
grep -q "must never be shown\|nor this one" <<<"$entry" && fail "the truncated dictionary showed its text"
grep -q "past the end" <<<"$entry" || fail "the truncated dictionary's section does not say what is wrong"
e2e_alive || fail "the program ended"
echo "ok: the StarDict dictionary joins the list; the truncated one beside it says what is wrong and shows no text"

atspi key ctrl+shift+d
atspi window Dictionaries || fail "Ctrl+Shift+D did not open the Dictionaries window"
atspi tree >"$E2E_ARTIFACTS/dictionaries-tree.txt"
# The list has the focus; Space turns the current dictionary off, as a keyboard or screen-reader user does.
atspi key Home
for name in $(sed -n "/\[dialog\] 'Dictionaries'/,\$p" "$E2E_ARTIFACTS/dictionaries-tree.txt" \
                  | grep -o "\[list item\] '[^']*'" | sed "s/\[list item\] '//; s/'$//" | tr ' ' '_'); do
    case "$name" in
        E2E*) ;;
        *) atspi key " " ;;
    esac
    atspi key Down
done
atspi key Escape
atspi focus Search
end=$((SECONDS + 20))
# The test's own rows: its two words and the one whole record of the truncated index.
until look_up qqverbarium && [ "$(position | cut -d/ -f2)" = 151916 ]; do
    [ $SECONDS -lt $end ] || fail "with the dictd dictionaries off the list has $(position | cut -d/ -f2) rows, not 151,913 + 3"
    sleep 1
done
echo "ok: with GCIDE and FreeDict off through AT-SPI the list holds the 151,913 built-in rows and the test's 3"
