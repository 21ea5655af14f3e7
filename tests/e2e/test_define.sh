#!/usr/bin/env bash
# "verbarium --define" as a terminal or a script runs it, with no display at all: a hit on the real dictionary,
# a miss with what may have been meant, several words with one missing, and a damaged dictionary.
source "$E2E_LIB"
e2e_private_home
unset DISPLAY WAYLAND_DISPLAY
work=$(e2e_workdir)
command="$(dirname "$VERBARIUM_BIN")/verbarium-command"
define() {
    (cd "$1" && shift && exec "$command" --define "$@") >"$E2E_TMP/out" 2>"$E2E_TMP/err"
}

define "$work" Serendipity || fail "a hit ended with status $?: $(cat "$E2E_TMP/err")"
head -n1 "$E2E_TMP/out" | grep -q '^serendipity  /.*/$' || fail "no headword with its pronunciation: $(head -n3 "$E2E_TMP/out")"
grep -q '^  1\. good luck in making unexpected and fortunate discoveries$' "$E2E_TMP/out" \
    || fail "the sense is not a whole numbered line: $(cat "$E2E_TMP/out")"
[ ! -s "$E2E_TMP/err" ] || fail "a hit wrote to standard error: $(cat "$E2E_TMP/err")"
echo "ok: a hit prints the entry, found case aside, unwrapped into a file"

status=0
define "$work" dictionary recieve || status=$?
[ "$status" -eq 1 ] || fail "a missing word among others ended with status $status"
grep -q '^dictionary  ' "$E2E_TMP/out" || fail "the word found was not printed"
[ "$(sed -n 1p "$E2E_TMP/err")" = 'No entry for "recieve".' ] || fail "the miss said: $(cat "$E2E_TMP/err")"
sed -n 2p "$E2E_TMP/err" | grep -q '^Did you mean: receive' || fail "no suggestion for the miss: $(cat "$E2E_TMP/err")"
echo "ok: a miss among several words is told with suggestions, status 1"

damaged="$E2E_TMP/damaged"
mkdir -p "$damaged"
head -c 65536 "$VERBARIUM_DATA_DAT" >"$damaged/data.dat"
status=0
define "$damaged" word || status=$?
[ "$status" -eq 1 ] || fail "a damaged dictionary ended with status $status"
grep -q '^Cannot open the dictionary .*data.dat: ' "$E2E_TMP/err" || fail "the damage was not told: $(cat "$E2E_TMP/err")"
[ ! -s "$E2E_TMP/out" ] || fail "a damaged dictionary printed an entry"
echo "ok: a damaged dictionary is told on standard error, status 1"
