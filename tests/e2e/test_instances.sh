#!/usr/bin/env bash
# Many starts at once end in one program and one window, every other start handing over with status 0;
# a running copy that does not answer is reported, not waited for in silence.
source "$E2E_LIB"
e2e_start_desktop notray
work=$(e2e_workdir)

pids=()
for _ in $(seq 50); do
    (cd "$work" && exec "$VERBARIUM_BIN") >/dev/null 2>&1 &
    pids+=($!)
done
E2E_PIDS+=("${pids[@]}")
e2e_wait_window Verbarium 30 >/dev/null || fail "no window after 50 starts"

alive() { local p n=0; for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && n=$((n + 1)); done; echo "$n"; }
end=$((SECONDS + 40))
while [ "$(alive)" -gt 1 ] && [ $SECONDS -lt $end ]; do sleep 0.2; done
[ "$(alive)" -eq 1 ] || fail "$(alive) of the 50 starts still run"
first=""
failed=0
for p in "${pids[@]}"; do
    if kill -0 "$p" 2>/dev/null; then
        first=$p
    else
        wait "$p" || failed=$((failed + 1))
    fi
done
[ "$failed" -eq 0 ] || fail "$failed of the 49 later starts ended with a non-zero status"
sleep 0.5
[ "$(e2e_visible_count Verbarium)" -eq 1 ] || fail "$(e2e_visible_count Verbarium) windows after 50 starts"
echo "ok: 50 starts at once: one program, one window, 49 hand-overs with status 0"

# The running copy stops answering (stopped as by a debugger or a frozen desktop).
kill -STOP "$first"
e2e_start_app "$work"
# The report is written before the message box is built, so it is what the 5 s bound applies to.
end=$((SECONDS + 5))
until grep -q "Verbarium is already running but is not responding." "$E2E_TMP/app.log"; do
    [ $SECONDS -lt $end ] || { kill -CONT "$first"; fail "no report within 5 s about the silent copy"; }
    sleep 0.1
done
box=""
end=$((SECONDS + 10))
while [ -z "$box" ] && [ $SECONDS -lt $end ]; do
    box=$(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | head -n1 || true)
    sleep 0.1
done
[ -n "$box" ] || { kill -CONT "$first"; fail "the report was not shown in a message box"; }
e2e_screenshot instances-not-responding
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
e2e_wait_exit 5 || fail "the start did not end after the message"
kill -CONT "$first"
[ "$E2E_STATUS" -ne 0 ] || fail "a start that found a silent copy exited 0"
echo "ok: a silent running copy is reported, exit status $E2E_STATUS"
