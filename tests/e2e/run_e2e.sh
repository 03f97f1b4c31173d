#!/usr/bin/env bash
# End-to-end run of the real program on the current X display (ctest starts a private Xvfb):
# starts build/game/lakeside in its game folder, waits for its first frames, keeps screenshots in
# build/e2e/, closes it with a real Escape key press and checks for a clean exit.
# Usage: run_e2e.sh BUILD_DIR. The steps are at the bottom; add new ones there.
set -uo pipefail

build=$(cd "${1:?usage: run_e2e.sh BUILD_DIR}" && pwd)
game="$build/game"
out="$build/e2e"
mkdir -p "$out"
for tool in xdotool import convert identify; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "e2e: $tool is not installed: skipped" >&2
    exit 77
  fi
done
[[ -n "${DISPLAY:-}" ]] || { echo "e2e: no DISPLAY (run through tests/run_with_xvfb.sh)" >&2; exit 1; }

pid=""
window=""
program=""

fail() {
  echo "e2e FAILED: $*" >&2
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null; fi
  [[ -f "$out/$program.log" ]] && sed 's/^/  log: /' "$out/$program.log" >&2
  exit 1
}
step() { echo "e2e: $*"; }

# ---- helpers -------------------------------------------------------------------------------

# Starts a program of the game folder with silent audio and finds its window.
start_game() {
  program=$1
  (cd "$game" && SDL_AUDIODRIVER=dummy exec "./$program" >"$out/$program.log" 2>&1) &
  pid=$!
  window=$(timeout 15 xdotool search --sync --onlyvisible --name "QUELLAN" 2>/dev/null | head -n1)
  [[ -n "$window" ]] || fail "$program showed no window"
  step "$program started (pid $pid, window $window)"
}

# Saves a screenshot of the game window as build/e2e/NAME.png.
screenshot() {
  import -window "$window" "$out/$1.png" 2>/dev/null || fail "no screenshot $1"
}

# Mean brightness 0..1 of a screenshot.
brightness() { convert "$out/$1.png" -colorspace Gray -format "%[fx:mean]" info:; }

# Waits (up to $2 seconds, default 10) until the loading message (white) has given way to frames.
wait_for_frames() {
  local limit=${2:-10} i
  for ((i = 0; i < limit * 4; i++)); do
    kill -0 "$pid" 2>/dev/null || fail "$program ended while starting"
    screenshot "$1"
    if awk -v m="$(brightness "$1")" 'BEGIN { exit !(m < 0.9) }'; then
      sleep 0.5  # a few more frames
      screenshot "$1"
      return 0
    fi
    sleep 0.25
  done
  fail "no frames after ${limit}s (still the loading message)"
}

expect_size() {  # NAME WIDTH HEIGHT
  local size
  size=$(identify -format "%w %h" "$out/$1.png")
  [[ "$size" == "$2 $3" ]] || fail "$1 is $size, expected $2 $3"
  step "$1.png is a $2x$3 picture (mean brightness $(brightness "$1"))"
}

expect_window_geometry() {  # X Y WIDTH HEIGHT
  local geo
  geo=$(xdotool getwindowgeometry --shell "$window")
  local x y w h
  x=$(sed -n 's/^X=//p' <<<"$geo"); y=$(sed -n 's/^Y=//p' <<<"$geo")
  w=$(sed -n 's/^WIDTH=//p' <<<"$geo"); h=$(sed -n 's/^HEIGHT=//p' <<<"$geo")
  [[ "$x $y $w $h" == "$1 $2 $3 $4" ]] || fail "window at $x,$y size ${w}x$h, expected $1,$2 ${3}x$4"
  step "window at $x,$y, ${w}x$h"
}

# Presses a key for about 100 ms with real (XTEST) key events, after focusing the game window.
press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool keydown "$1" && sleep 0.1 && xdotool keyup "$1"
  step "pressed $1"
}

# Expects the program to end with exit code $1 within $2 seconds (default 5).
expect_exit() {
  local want=$1 limit=${2:-5} i status
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$program still running after ${limit}s"
  wait "$pid"
  status=$?
  pid=""
  [[ "$status" == "$want" ]] || fail "$program exited with $status, expected $want"
  step "$program exited with $status"
}

# Without any display the program must say so and end with a failure code, not run unseen.
expect_fails_without_display() {
  local status
  (cd "$game" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy timeout 10 "./$1" >"$out/$1-nodisplay.log" 2>&1)
  status=$?
  [[ "$status" == 1 ]] || fail "$1 without a display exited with $status, expected 1"
  grep -q "no display" "$out/$1-nodisplay.log" || fail "$1 without a display did not say why"
  step "$1 without a display: exit 1, \"$(tail -n1 "$out/$1-nodisplay.log")\""
}

expect_path() {
  [[ -e "$1" ]] || fail "$1 does not exist"
  step "$1 exists"
}

# Holds the left mouse button for about 150 ms at window pixel (X, Y) with real pointer events.
click_at() {
  xdotool mousemove --window "$window" "$1" "$2" && sleep 0.2
  xdotool mousedown 1 && sleep 0.15 && xdotool mouseup 1
  step "clicked at $1,$2"
  sleep 0.6  # past the 0.3 s input lock a click sets
}

# Moves the pointer to window pixel (X, Y) and lets a few frames pass.
hover_at() {
  xdotool mousemove --window "$window" "$1" "$2" && sleep 0.3
  xdotool mousemove --window "$window" "$(($1 + 1))" "$(($2 + 1))" && sleep 0.4
}

# Fraction 0..1 of the pixels in a region (WxH+X+Y) of a screenshot that have colour $3 (within 12 %).
colour_share() {  # NAME REGION COLOUR
  convert "$out/$1.png" -crop "$2" +repage -alpha set -fuzz 12% +transparent "$3" -alpha extract \
    -colorspace Gray -format "%[fx:mean]" info:
}

expect_colour() {  # NAME REGION COLOUR MIN-SHARE WHAT
  local share
  share=$(colour_share "$1" "$2" "$3")
  awk -v s="$share" -v m="$4" 'BEGIN { exit !(s >= m) }' || fail "$1: $5 (share of $3 in $2 is $share, want >= $4)"
  step "$1: $5 (share $share)"
}

# Number of separate blobs of colour $3 in a region, each at least $4 pixels.
count_blobs() {  # NAME REGION COLOUR MIN-AREA
  convert "$out/$1.png" -crop "$2" +repage -alpha set -fuzz 12% +transparent "$3" -alpha extract \
    -colorspace Gray -threshold 50% -define connected-components:verbose=true \
    -define connected-components:area-threshold="$4" -connected-components 8 null: 2>/dev/null |
    awk 'NR > 1 && $NF == "gray(255)" { n++ } END { print n + 0 }'
}

# True when a region differs between two screenshots.
differs() {  # NAME1 NAME2 REGION
  local d
  d=$(compare -metric AE -fuzz 5% <(convert "$out/$1.png" -crop "$3" +repage png:-) \
      <(convert "$out/$2.png" -crop "$3" +repage png:-) null: 2>&1)
  [[ "${d%% *}" != "0" ]]
}

# Window pixel of a swim's sign on the overhead map at zoom height 350 centred on (100, 92).
swim_pixel() {  # SWIM-NUMBER
  tail -n 9 "$game/data/data.qd" | sed -n "${1}p" |
    awk '{ col = int($1 / 2); row = int((200 - $2) / 2);
           printf "%d %d\n", 400 + (col - 51) * 1405 / 350 + 3, 300 + (row - 51) * 4 + 3 }'
}

# Another script may source this one for its helpers alone.
if [[ -n "${E2E_HELPERS_ONLY:-}" ]]; then return 0; fi

# ---- steps ---------------------------------------------------------------------------------

start_game lakeside
wait_for_frames title
expect_size title 800 600
expect_window_geometry 0 0 800 600
# The fixed texts of the title in their rows (light text on black).
expect_colour title 700x14+24+73 "#FAFAFA" 0.04 "first line of the introduction is drawn"
expect_colour title 560x14+168+145 "#FAFAFA" 0.04 "line about the 48 further fish is drawn"
expect_colour title 300x34+280+515 "#FAFAFA" 0.05 "\"Click here to play\" is drawn"

click_at 400 530
# On a busy machine the map can take a while to come up (or the click can fall between two slow
# frames): look again for up to 10 s, clicking once more if the title is still there after 4 s.
for ((i = 0; i < 40; i++)); do
  screenshot map
  swims=$(count_blobs map 630x400+84+84 "#FFD83A" 45)
  [[ "$swims" == 9 ]] && break
  ((i == 16)) && click_at 400 530
  sleep 0.25
done
expect_colour map 400x380+200+90 "#1B3246" 0.10 "the lake's deep water shows on the map"
[[ "$swims" == 9 ]] || fail "map: $swims swim signs found, expected 9"
step "map: the nine swim signs are there"

read -r sx sy < <(swim_pixel 3)
click_at "$sx" "$sy"
screenshot swim3
differs map swim3 40x40+12+278 || fail "the panel's swim number did not change after picking swim 3"
step "panel shows the newly picked swim"

click_at 741 182    # hook bait 2: fishmeal boilies
screenshot bait2
differs swim3 bait2 80x60+718+20 || fail "the hook-bait name and picture did not change"
expect_colour bait2 700x16+230+45 "#141414" 0.02 "the bait sentence is drawn"
step "tackle panel follows the hook-bait choice"

hover_at 430 300
screenshot readout
differs bait2 readout 160x60+400+240 || fail "no depth or height read-out beside the pointer"
step "the read-out follows the pointer"

# The stocking records from the map's button, paged through with the bottom button back to the map.
# Seven pages; on a heavily loaded machine a frame slower than the click's 0.6 s lock can let one
# held click turn two pages, so one page may go unseen.
click_at 755 545
sleep 0.3
pages=0
for ((click = 1; click <= 9; click++)); do
  screenshot "stocking$click"
  swims=$(count_blobs "stocking$click" 630x400+84+84 "#FFD83A" 45)
  [[ "$swims" == 9 ]] && break
  expect_colour "stocking$click" 400x30+200+4 "#6432FA" 0.03 "stocking page: the title"
  expect_colour "stocking$click" 600x300+70+220 "#FAFAFA" 0.01 "stocking page: rows of the stock table"
  pages=$((pages + 1))
  click_at 400 530
  sleep 0.3
done
[[ "$swims" == 9 ]] || fail "the stocking records did not return to the map"
((pages >= 6)) || fail "only $pages stocking pages before the map, expected 7"
step "$pages stocking pages, then the map"

press Escape
expect_exit 0 5
expect_path "$game/photos/photos.qd"
expect_fails_without_display lakeside

echo "e2e: all steps passed"
