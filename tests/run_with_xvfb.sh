#!/usr/bin/env bash
# Runs a command on a private virtual X display (Xvfb, 1024x768x24) and stops the display after.
# Exits 77 (skipped) when Xvfb is not installed.
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: skipped" >&2
  exit 77
fi
displayfile=$(mktemp)
# -noreset: by default the server resets itself whenever its last client disconnects, and a
# program that opens the display again right then (a test making its next window) can be
# refused and find no display at all.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
  [[ -s "$displayfile" ]] && break
  sleep 0.05
done
if [[ ! -s "$displayfile" ]]; then
  echo "Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  rm -f "$displayfile"
  exit 1
fi
export DISPLAY=":$(head -n1 "$displayfile")"
rm -f "$displayfile"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
