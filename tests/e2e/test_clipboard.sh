#!/usr/bin/env bash
# The clipboard watch and speech in the real program: a word copied in another program is looked up
# and spoken into a PulseAudio null sink.
source "$E2E_LIB"
e2e_start_desktop

# A private sound server with a null sink whose monitor we record.
e2e_start_sound_sink

# Start with "Check Clipboard Sound" on, as a user who left it so.
mkdir -p "$XDG_CONFIG_HOME/Ostrand"
printf '[1.0.0.0]\nCheckClip=No\nCheckClipSound=Yes\nARA=Yes\n' >"$XDG_CONFIG_HOME/Ostrand/Verbarium.conf"
printf 'first' | xclip -selection clipboard
work=$(e2e_workdir)
e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 15) || fail "no window"
sleep 1.5

parecord --device=e2e.monitor --file-format=wav "$E2E_TMP/speech.wav" &
rec=$!
printf 'serendipity' | xclip -selection clipboard
sleep 3
kill "$rec"; wait "$rec" 2>/dev/null || true
rms=$(sox "$E2E_TMP/speech.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
echo "speech RMS amplitude: $rms"
awk -v r="$rms" 'BEGIN { exit !(r > 0.005) }' || fail "no speech reached the sound sink (RMS $rms)"
echo "ok: the copied word was spoken"

# What the window shows, read from outside: copy the entry view's text (the watcher then takes that
# copy too, which is what a user would see as well).
xdotool windowactivate --sync "$win"
xdotool key --clearmodifiers Tab Tab ctrl+a
sleep 0.3
e2e_screenshot clipboard-lookup
xdotool key --clearmodifiers ctrl+c
sleep 0.3
entry=$(xclip -o -selection clipboard 2>/dev/null || true)
case "$entry" in
    *"fortunate discoveries"*) echo "ok: serendipity's entry is shown" ;;
    *) fail "the entry shown is not serendipity's: ${entry:0:120}" ;;
esac

# Close to the tray, copy again: Auto Restore brings the window back.
wmctrl -c Verbarium
e2e_wait_no_window Verbarium 5 || fail "the window did not hide"
printf 'lexicon' | xclip -selection clipboard
e2e_wait_window Verbarium 5 >/dev/null || fail "Auto Restore did not bring the window back"
echo "ok: a new copy restored the window"
