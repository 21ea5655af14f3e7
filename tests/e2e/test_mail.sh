#!/usr/bin/env bash
# "Send word definition" hands the entry to the desktop's mail handler; without one the error box appears.
source "$E2E_LIB"
e2e_start_desktop
work=$(e2e_workdir)

# The mail hand-off must find only the handler registered here, whatever the machine has installed.
recorded="$E2E_TMP/mailto.txt"
e2e_fake_mail_handler "$recorded"
[ "$(xdg-mime query default x-scheme-handler/mailto)" = "verbarium-fake-mail.desktop" ] \
    || fail "the fake mail handler was not registered"

# Prints the decoded value of parameter $2 of the mailto link $1, line breaks as single line feeds.
mailto_param() {
    local query=${1#*\?} part value=""
    local IFS='&'
    for part in $query; do
        [ "${part%%=*}" = "$2" ] && value=${part#*=}
    done
    value=${value//%0D%0A/%0A}
    printf '%b' "${value//%/\\x}"
}

send_by_keyboard() {
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool key --clearmodifiers alt+f
    sleep 0.5
    xdotool key d
}

e2e_start_app "$work"
win=$(e2e_wait_window Verbarium 30) || fail "the main window did not map"
sleep 0.5
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool type --delay 40 apple
sleep 0.5

send_by_keyboard
for _ in $(seq 100); do
    [ -s "$recorded" ] && break
    sleep 0.1
done
[ -s "$recorded" ] || fail "the mail handler received nothing"
e2e_screenshot mail-sent
link=$(cat "$recorded")
case "$link" in
    mailto:\?*) ;;
    *) fail "the handler got no recipient-less mailto link: $link" ;;
esac
subject=$(mailto_param "$link" subject)
[ "$subject" = "definitions: apple" ] || fail "subject was '$subject'"
body=$(mailto_param "$link" body)
footer="Created and sent by Verbarium (https://www.ostrand.example/verbarium)"
rule=$(printf -- '-%.0s' $(seq 65))
[ "$(printf '%s\n' "$body" | sed -n 1p)" = "apple - definitions:" ] && [ -z "$(printf '%s\n' "$body" | sed -n 2p)" ] \
    || fail "the body does not start with the headword line: $(printf '%s' "$body" | head -n 3)"
[ "$(printf '%s\n' "$body" | tail -n 3)" = "
$rule
$footer" ] || fail "the body does not end with the separator and the footer: $(printf '%s' "$body" | tail -n 3)"
printf '%s' "$body" | grep -qi fruit || fail "the body does not hold the entry of apple"
[ "$(e2e_visible_count Error)" -eq 0 ] || fail "an error box appeared although the handler took the mail"
echo "ok: the mail handler received subject '$subject' and the entry"

# Without any handler xdg-email gives up with exit status 3: the program says so and goes on.
rm -f "$recorded" "$XDG_DATA_HOME/applications/verbarium-fake-mail.desktop" "$XDG_CONFIG_HOME/mimeapps.list"
[ -z "$(xdg-mime query default x-scheme-handler/mailto)" ] || fail "a mailto handler is still registered"
send_by_keyboard
box=$(e2e_wait_window Error 15) || fail "no error box without a mail handler"
sleep 0.3
e2e_screenshot mail-error
e2e_alive || fail "the program ended"
[ -e "$recorded" ] && fail "a mail handler ran although none is registered"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
e2e_wait_no_window Error 5 || fail "the error box did not close"
e2e_wait_window Verbarium 5 >/dev/null || fail "the main window is gone after the error"
e2e_alive || fail "the program ended after the error"
echo "ok: no mail handler: error box, program goes on"
