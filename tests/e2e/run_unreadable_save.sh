#!/usr/bin/env bash
# The real program with a save file it may not read: a 50-photo save owned by another user with
# mode 0600 (as root, the game is run as the user "nobody"; otherwise the file is made mode 000).
# Escape must leave the file byte for byte as it was, say so on standard error and exit non-zero.
# Runs on the display of run_with_xvfb.sh.
# Usage: run_unreadable_save.sh BUILD_DIR
set -uo pipefail

build=$(cd "${1:?usage: run_unreadable_save.sh BUILD_DIR}" && pwd)
game="$build/game"
command -v xdotool >/dev/null 2>&1 || { echo "unreadable save: xdotool is not installed: skipped" >&2; exit 77; }
as_other=()
if [[ $(id -u) == 0 ]]; then
  command -v setpriv >/dev/null 2>&1 || { echo "unreadable save: setpriv is not installed: skipped" >&2; exit 77; }
  as_other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

work=$(mktemp -d)
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "unreadable save FAILED: $*" >&2
  [[ -f "$work/game.log" ]] && sed 's/^/  log: /' "$work/game.log" >&2
  exit 1
}

chmod 755 "$work"
folder="$work/game"
mkdir -p "$folder/photos"
# A copy, not links: the other user may not be allowed into the build folder (a checkout under
# /root, say).
for f in "$game"/*; do
  [[ "$(basename "$f")" == photos ]] || cp -r "$f" "$folder/"
done
chmod -R a+rX "$folder"
save="$folder/photos/photos.qd"
{
  for _ in $(seq 1 50); do
    printf '%s\n' 1 0 1 1 2.050000e+01 1.290000e+01 3 5 3.250000e+00 0.000000e+00 0.000000e+00 \
      0.000000e+00 1.000000e+02 2.000000e+00 9.250000e+01 6.283000e+00 6.400000e+00
  done
  for i in $(seq 1 75); do printf '%d.500000e+00\n' "$i"; done
} >"$save"
cp "$save" "$work/original"
if ((${#as_other[@]})); then
  chmod 600 "$save"
  chown 65534 "$folder/photos"  # the game may write in the folder, but not read the file
else
  chmod 000 "$save"
fi

(cd "$folder" && SDL_AUDIODRIVER=dummy HOME="$work" exec "${as_other[@]}" ./lakeside >"$work/game.log" 2>&1) &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "QUELLAN" 2>/dev/null | head -n1)
[[ -n "$window" ]] || fail "no game window"
sleep 1.5
for _ in 1 2 3; do
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key Escape
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null || break
done
kill -0 "$pid" 2>/dev/null && fail "still running after Escape"
wait "$pid"
status=$?
pid=""
[[ "$status" != 0 ]] || fail "exit code 0: this game's photos were not saved"
chmod 600 "$save" 2>/dev/null
cmp -s "$save" "$work/original" || fail "the save file was changed"
[[ "$(ls "$folder/photos")" == photos.qd ]] || fail "other files in photos/: $(ls "$folder/photos")"
grep -q "could not be read" "$work/game.log" || fail "nothing said about the save that could not be read"
echo "unreadable save: left as it was, exit code $status, said: $(head -n1 "$work/game.log")"
