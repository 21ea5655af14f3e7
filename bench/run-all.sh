#!/usr/bin/env bash
# Prints every speed and memory budget with its measured figure (medians), on the full dictionary.
# Usage: bench/run-all.sh [build folder]   (default: ./build; build it first with ./test.sh or scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
data="$build/data"
[ -f "$data/data.dat" ] || { echo "No $data/data.dat: build first (scripts/build.sh)." >&2; exit 1; }
command -v artha >/dev/null || {
    echo "The start-up budget is measured against Artha, which is not installed: sudo apt-get install artha" >&2; exit 1; }
cmake --build "$build" --target bench_startup bench_empty_window bench_store bench_keystroke bench_tick bench_find bench_find_memory bench_artwork clipboard_owner bench_suggestions bench_stop bench_commandline verbarium-command verbarium-define bench_shelf >/dev/null

# The built-in dictionary alone unless a section says otherwise, whatever dictd packages the machine has.
export VERBARIUM_DICTIONARY_FOLDERS=
over=()
echo "== Start-up beside Artha, its phases, and memory (7 starts each, Xvfb)"
status=0
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/startup/bench_startup" \
    "$build/src/app/verbarium" "$build/bench/startup/bench_empty_window" "$data" || status=$?
# 3: measured, and slower than Artha; anything else non-zero: no measurement.
case $status in
    0) ;;
    3) over+=("start-up: slower than Artha") ;;
    *) exit "$status" ;;
esac
# GCIDE and FreeDict eng-deu and eng-fra, as the added-dictionary budgets are set for.
added=$(mktemp -d)
trap 'rm -rf "$added"' EXIT
# Their key files, made by the first keystroke run below and mapped by every start after it.
export XDG_CACHE_HOME="$added/cache"
for name in gcide freedict-eng-deu freedict-eng-fra; do
    ln -s /usr/share/dictd/$name.index /usr/share/dictd/$name.dict.dz "$added/" 2>/dev/null || true
done
echo "== Added dictionaries: first read of the keys, merged list, largest entry, 20 generated dictionaries"
"$build/bench/shelf/bench_shelf" "$added" | tee "$added/shelf.txt"
# The largest GCIDE entry, as bench_shelf names it, is then shown in the window.
largest=$(sed -n 's/^ *Largest GCIDE entry "\([^"]*\)".*/\1/p' "$added/shelf.txt")
echo "== Store: nearest-key positioning and the dictionary build"
"$build/bench/store/bench_store" --builds 3
echo "== One keystroke (2,000 keys, Xvfb)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/keystroke/bench_keystroke" "$data"
echo "== One keystroke with GCIDE, FreeDict eng-deu and eng-fra added (2,000 keys, Xvfb)"
VERBARIUM_DICTIONARY_FOLDERS="$added" VERBARIUM_BENCH_SHOW="$largest" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/keystroke/bench_keystroke" "$data"
echo "== Start-up and memory with GCIDE, FreeDict eng-deu and eng-fra added (budget: within 5% of the first start-up run, <= 60 MB)"
VERBARIUM_DICTIONARY_FOLDERS="$added" xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/startup/bench_startup" \
    "$build/src/app/verbarium" "$build/bench/startup/bench_empty_window" "$data"
echo "== 20 generated dictionaries, 3 million headwords: one keystroke, then start-up (budget: as fast as without)"
python3 "$root/bench/shelf/make_scale.py" "$added/scale"
VERBARIUM_DICTIONARY_FOLDERS="$added/scale" xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/keystroke/bench_keystroke" "$data"
VERBARIUM_DICTIONARY_FOLDERS="$added/scale" xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/startup/bench_startup" \
    "$build/src/app/verbarium" "$build/bench/startup/bench_empty_window" "$data"
echo "== One keystroke while a clipboard owner never answers (2,000 keys, Xvfb)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/keystroke/bench_keystroke" "$data" \
    "$build/tests/e2e/clipboard_owner"
echo "== Suggestion line: misspellings and inflected forms (Xvfb, Hunspell en_US)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/suggestions/bench_suggestions" "$data"
echo "== Clipboard tick with nothing new (Xvfb)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/tick/bench_tick"
echo "== Find in Entries: full-text query to first results, headword patterns (200 queries each)"
"$build/bench/find/bench_find" --data "$data/data.dat"
echo "== Find in Entries: resident memory after 1,000 queries and a minute after the panel closes (Xvfb)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/find/bench_find_memory" "$data"
echo "== Start-up pictures painted (50 rounds)"
"$build/bench/artwork/bench_artwork"
echo "== Stop while speaking, to the engine idle (real espeak-ng, private PulseAudio; budget 50 ms)"
"$build/bench/speech/bench_stop"
echo "== verbarium --define WORD beside WordNet's wn WORD -over (budget 5x), no display"
env -u DISPLAY -u WAYLAND_DISPLAY "$build/bench/commandline/bench_commandline" define "$build/src/app/verbarium-command" "$data"
echo "== verbarium --lookup WORD to the entry painted in the running program (budget 100 ms, Xvfb)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/commandline/bench_commandline" lookup "$build/src/app/verbarium-command" "$data"
echo "== Reading the whole accessibility tree once through AT-SPI (10 rounds, Xvfb)"
"$root/bench/accessibility/bench_accessibility.sh" "$build"
if [ "${#over[@]}" -gt 0 ]; then
    printf 'Over budget: %s\n' "${over[@]}" >&2
    exit 1
fi
