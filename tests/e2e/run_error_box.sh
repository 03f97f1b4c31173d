#!/usr/bin/env bash
# The real program asked to end from outside: by SIGTERM and by the loss of its display while the
# message box of a fatal data error (the lake model damaged, or missing) waits for OK, and by
# SIGTERM in normal play. Each time it must end within 10 seconds, in order: save file written,
# the box gone, a non-zero exit code. The box of the damaged model's long message must lie within
# the 800-pixel window. Starts its own Xvfb per case (one case kills it).
# Usage: run_error_box.sh BUILD_DIR
set -uo pipefail

build=$(cd "${1:?usage: run_error_box.sh BUILD_DIR}" && pwd)
game="$build/game"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "error box: $tool is not installed: skipped" >&2; exit 77; }
done

work=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill -KILL "$pid" 2>/dev/null
  [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "error box FAILED: $*" >&2
  [[ -f "$work/game.log" ]] && sed 's/^/  log: /' "$work/game.log" >&2
  exit 1
}
step() { echo "error box: $*"; }

start_display() {
  local file="$work/display"
  : >"$file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$file" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 1 100); do [[ -s "$file" ]] && break; sleep 0.05; done
  [[ -s "$file" ]] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$file")"
}

stop_display() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=""
}

# A game folder with every generated file but, when $1 is "no-lake", the lake model, or when it
# is "damaged-lake", a model whose first number is bytes that are no text; no save file.
make_folder() {
  local folder="$work/game-$RANDOM"
  mkdir -p "$folder/photos"
  for f in "$game"/*; do
    case "$(basename "$f")" in
      photos) ;;
      models)
        if [[ "$1" == damaged-lake ]]; then
          mkdir -p "$folder/models"
          printf '\x07\xfeabcdefghijklmnopqrstuvwxyz 1 2 3\n' >"$folder/models/lake.qd"
        elif [[ "$1" != no-lake ]]; then
          ln -s "$f" "$folder/"
        fi ;;
      *) ln -s "$f" "$folder/" ;;
    esac
  done
  echo "$folder"
}

# The box (the top-level window of that title other than the game's) lies within the game window,
# which stands at 0,0, 800 pixels wide.
expect_box_on_window() {
  local line size x w try
  for try in $(seq 1 100); do
    while read -r line; do
      [[ "$line" == *QUELLAN* && "$line" != *'"lakeside"'* ]] || continue
      size=$(grep -oE '[0-9]+x[0-9]+[+-]+[0-9]+[+-]+[0-9]+' <<<"$line" | head -n1)  # 912x142+-56+152
      [[ -n "$size" ]] || continue
      w=${size%%x*}
      x=$(sed -E 's/^[0-9]+x[0-9]+\+?(-?[0-9]+).*/\1/' <<<"$size")
      x=$((x))
      ((x >= 0 && x + w <= 800)) || fail "the message box spans x $x to $((x + w)), outside the 800-pixel window"
      step "the message box spans x $x to $((x + w)), within the window"
      return
    done < <(xwininfo -root -children 2>/dev/null)
    sleep 0.1
  done
  fail "the message box's window was not found"
}

start_game() {  # FOLDER
  (cd "$1" && SDL_AUDIODRIVER=dummy exec "$game/lakeside" >"$work/game.log" 2>&1) &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "QUELLAN" 2>/dev/null | head -n1)
  [[ -n "$window" ]] || fail "no game window"
  sleep 1.5  # the title's first frames
}

# Leaves the title with X: the map's first frame finds the lake model missing and shows the box,
# which runs as a process of its own. On a busy machine the first press may come before the game
# reads keys: it is pressed again every few seconds until the box is there.
open_error_box() {
  box=""
  for i in $(seq 0 599); do
    if ((i % 40 == 0)); then
      xdotool windowfocus --sync "$window" 2>/dev/null || true
      xdotool keydown x && sleep 0.1 && xdotool keyup x
    fi
    box=$(pgrep -P "$pid" | head -n1)
    [[ -n "$box" ]] && break
    sleep 0.1
  done
  [[ -n "${box:-}" ]] || fail "no message box appeared"
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || fail "the game ended while its box was shown"
  step "the box waits for OK (process $box)"
}

expect_end() {  # FOLDER WANTED-STATUS (or "nonzero") WHAT
  local i status
  for ((i = 0; i < 100; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$3: still running 10 s later"
  wait "$pid"
  status=$?
  pid=""
  if [[ "$2" == nonzero ]]; then
    [[ "$status" != 0 ]] || fail "$3: exit code 0"
  else
    [[ "$status" == "$2" ]] || fail "$3: exit code $status, expected $2"
  fi
  [[ -s "$1/photos/photos.qd" ]] || fail "$3: the save file was not written"
  [[ -n "${box:-}" ]] && kill -0 "$box" 2>/dev/null && fail "$3: the message box is still there"
  step "$3: ended with exit code $status, save file written"
}

# 1. SIGTERM while the box of a long message waits.
start_display
folder=$(make_folder damaged-lake)
start_game "$folder"
open_error_box
expect_box_on_window
kill -TERM "$pid"
expect_end "$folder" 1 "SIGTERM during the error box"
stop_display

# 2. The display goes away while the box waits.
start_display
folder=$(make_folder no-lake)
start_game "$folder"
open_error_box
stop_display
expect_end "$folder" nonzero "display lost during the error box"

# 3. SIGTERM in normal play (the title): the same orderly end, 128 + 15 as for any signal.
start_display
folder=$(make_folder with-lake)
box=""
start_game "$folder"
kill -TERM "$pid"
expect_end "$folder" 143 "SIGTERM on the title"
stop_display
