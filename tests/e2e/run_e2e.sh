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

# Saves a screenshot of the game window as build/e2e/NAME.png (first pressing OK on an error box).
screenshot() {
  error_box_check
  import -window "$window" "$out/$1.png" 2>/dev/null || fail "no screenshot $1"
}

# A fatal data error shows a message box that waits for OK (on X11 a process of the game's own)
# and the game stops drawing meanwhile: keep a picture of the screen, press OK on the box so that
# the game can end, and fail with what the game said (its log).
error_box_check() {
  [[ -n "$pid" ]] || return 0
  local box boxwin
  box=$(pgrep -P "$pid" | head -n1)
  [[ -n "$box" ]] || return 0
  sleep 0.5  # the box's window comes up
  import -window root "$out/error-box.png" 2>/dev/null
  # The box's own window: titled like the game's, but not of the game's window class.
  boxwin=$(xwininfo -root -children 2>/dev/null | awk '/QUELLAN/ && !/"lakeside"/ { print $1; exit }')
  if [[ -n "$boxwin" ]]; then
    xdotool windowfocus --sync "$boxwin" 2>/dev/null
    xdotool key Return
  fi
  local i
  for ((i = 0; i < 50; i++)); do kill -0 "$box" 2>/dev/null || break; sleep 0.1; done
  local said="OK pressed"
  kill -0 "$box" 2>/dev/null && said="the box did not go with Return"
  local game_pid=$pid
  pid=""
  for ((i = 0; i < 50; i++)); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$game_pid" 2>/dev/null
  fail "the game showed an error box ($said; screen in $out/error-box.png)"
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

# A normal click at window pixel (X, Y) with real pointer events: the pointer comes to rest there,
# then the left button is pressed, held about 120 ms and released (one xdotool process, so no
# start-up delay stretches the hold). Each click aims at the middle of what is drawn.
click_at() {
  xdotool mousemove --window "$window" "$1" "$2" && sleep 0.2
  xdotool mousedown 1 sleep 0.12 mouseup 1
  step "clicked at $1,$2"
  sleep 0.6  # past the 0.3 s input lock a click sets
}

# Moves the pointer to window pixel (X, Y) and lets a few frames pass.
hover_at() {
  xdotool mousemove --window "$window" "$1" "$2" && sleep 0.3
  xdotool mousemove --window "$window" "$(($1 + 1))" "$(($2 + 1))" && sleep 0.4
}

# Fraction 0..1 of the pixels in a region (WxH+X+Y) of a screenshot that have colour $3 (within
# $4, default 12 %).
colour_share() {  # NAME REGION COLOUR [FUZZ]
  convert "$out/$1.png" -crop "$2" +repage -alpha set -fuzz "${4:-12%}" +transparent "$3" -alpha extract \
    -colorspace Gray -format "%[fx:mean]" info:
}

expect_colour() {  # NAME REGION COLOUR MIN-SHARE WHAT
  local share
  share=$(colour_share "$1" "$2" "$3")
  awk -v s="$share" -v m="$4" 'BEGIN { exit !(s >= m) }' || fail "$1: $5 (share of $3 in $2 is $share, want >= $4)"
  step "$1: $5 (share $share)"
}

# Window pixel "X Y" of the middle of the pixels of colour $3 (within 10 %) in a region WxH+X+Y of
# a screenshot (the middle of a drawn text's lit pixels); nothing when there are none.
drawn_middle() {  # NAME REGION COLOUR
  local box
  box=$(convert "$out/$1.png" -crop "$2" +repage -fuzz 10% -fill black +opaque "$3" -fill white -opaque "$3" \
    -bordercolor black -border 1 -format "%@" info:)  # WxH+X+Y of the lit pixels, +1 for the border
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
  ((BASH_REMATCH[1] > 0 && BASH_REMATCH[1] < ${2%%x*} + 2)) || return 0
  local rx=${2#*+} ry
  ry=${rx#*+}; rx=${rx%%+*}
  echo "$((rx + BASH_REMATCH[3] - 1 + BASH_REMATCH[1] / 2)) $((ry + BASH_REMATCH[4] - 1 + BASH_REMATCH[2] / 2))"
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
  convert "$out/$1.png" -crop "$3" +repage "$out/.crop-a.png"
  convert "$out/$2.png" -crop "$3" +repage "$out/.crop-b.png"
  d=$(compare -metric AE -fuzz 5% "$out/.crop-a.png" "$out/.crop-b.png" null: 2>&1)
  [[ "${d%% *}" != "0" ]]
}

# Window pixel of the middle of a swim's sign on the overhead map at zoom height 350 centred on
# (100, 92): the sign lies 345 below the eye, where the quarter-turn field of view spans
# 2 x 345 x tan(pi / 8) = 285.8 units over the 600 rows (2.0994 pixels a unit, as across). Checked
# against the signs' yellow blobs in a screenshot (within a pixel).
swim_pixel() {  # SWIM-NUMBER
  tail -n 9 "$game/data/data.qd" | sed -n "${1}p" |
    awk '{ printf "%d %d\n", 400 + ($1 - 100) * 2.0994 + 0.5, 300 - ($2 - 92) * 2.0994 + 0.5 }'
}

# Holds key $1 for $2 seconds (default 0.1). Keys that act while held (T) get a short press.
tap() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool keydown "$1" sleep "${2:-0.1}" keyup "$1"  # one process: no start-up delay inside the hold
  step "pressed $1"
}

# Holds mouse button $1 (1 left, 3 right) for $2 seconds where the pointer is: at the lake the
# game keeps the pointer still, and moving it would turn the view or move the aim.
hold_button() {
  xdotool mousedown "$1" sleep "$2" mouseup "$1"
  step "held mouse button $1 for $2 s"
}

# Takes screenshots as NAME until a region has at least SHARE of a colour (up to $5 seconds).
wait_for_colour() {  # NAME REGION COLOUR SHARE SECONDS WHAT [FUZZ]
  local i
  for ((i = 0; i < ${5} * 4; i++)); do
    screenshot "$1"
    if awk -v s="$(colour_share "$1" "$2" "$3" "${7:-12%}")" -v m="$4" 'BEGIN { exit !(s >= m) }'; then
      step "$1: $6"
      return 0
    fi
    sleep 0.25
  done
  fail "$1: $6 (share of $3 in $2 stays below $4)"
}

# Expects the share of a colour in a region to rise (or, with a negative MIN, fall) by at least
# |MIN| from screenshot A to screenshot B.
expect_share_change() {  # A B REGION COLOUR MIN WHAT [FUZZ]
  local a b
  a=$(colour_share "$1" "$3" "$4" "${7:-12%}")
  b=$(colour_share "$2" "$3" "$4" "${7:-12%}")
  awk -v a="$a" -v b="$b" -v m="$5" 'BEGIN { exit !(m >= 0 ? b - a >= m : a - b >= -m) }' ||
    fail "$2: $6 (share of $4 in $3 went from $a to $b)"
  step "$2: $6 (share of $4 from $a to $b)"
}

# Fraction 0..1 of the pixels of a region (WxH+X+Y) that differ between two screenshots.
diff_share() {  # A B REGION
  local d w h
  convert "$out/$1.png" -crop "$3" +repage "$out/.crop-a.png"
  convert "$out/$2.png" -crop "$3" +repage "$out/.crop-b.png"
  d=$(compare -metric AE -fuzz 8% "$out/.crop-a.png" "$out/.crop-b.png" null: 2>&1)
  w=${3%%x*}; h=${3#*x}; h=${h%%+*}
  awk -v d="${d%% *}" -v a="$((w * h))" 'BEGIN { printf "%.3f", d / a }'
}

# Expects the picture in a region to change more from A to B (something moved) than it changes
# by itself (water, sky) from B to a screenshot C taken as long after with nothing pressed.
expect_moved() {  # A B C REGION WHAT
  local moved still
  moved=$(diff_share "$1" "$2" "$4")
  still=$(diff_share "$2" "$3" "$4")
  awk -v m="$moved" -v s="$still" 'BEGIN { exit !(m >= s + 0.2) }' ||
    fail "$2: $5 (changed $moved against $still by itself)"
  step "$2: $5 (changed $moved against $still by itself)"
}

# The tips are on when their second line ("Press X to return ...") is drawn.
tips_shown() { awk -v s="$(colour_share "$1" 240x80+16+20 "#FAFAFA")" 'BEGIN { exit !(s >= 0.03) }'; }

# Presses T until the tips are shown (want=on) or hidden (want=off): a held T toggles again
# every few frames, so a press that lasted too long or too short is tried again with another length.
toggle_tips() {  # NAME on|off
  local d
  for d in 0.02 0.03 0.05 0.08 0.1 0.04 0.06 0.12 0.025 0.07; do
    tap t "$d"
    sleep 0.6
    screenshot "$1"
    if tips_shown "$1"; then [[ $2 == on ]] && return 0; else [[ $2 == off ]] && return 0; fi
  done
  fail "T did not turn the tips $2"
}

# Waits (up to 5 s) for the map with its nine swim signs, as NAME.
back_on_map() {  # NAME
  local i swims
  for ((i = 0; i < 20; i++)); do
    screenshot "$1"
    swims=$(count_blobs "$1" 630x400+84+84 "#FFD83A" 45)
    [[ "$swims" == 9 ]] && break
    sleep 0.25
  done
  [[ "$swims" == 9 ]] || fail "$1: $swims swim signs found, expected the map with 9"
  step "$1: back on the map with its nine swim signs"
}

# Keeps screenshot NAME as the picture of a screen, build/e2e/screens/SCREEN.png
# (scripts/update-screenshots.sh copies these into docs/).
keep() {  # NAME SCREEN
  mkdir -p "$out/screens"
  cp "$out/$1.png" "$out/screens/$2.png"
}

# Small specks that stand out from a smooth background (gulls against the sky): the pixels of a
# region that differ by more than 8 % from the median of their 5 x 5 neighbourhood, kept as the
# mask NAME-specks.png; prints how many there are.
specks() {  # NAME REGION
  convert "$out/$1.png" -crop "$2" +repage -colorspace Gray \( +clone -statistic median 5x5 \) \
    -compose difference -composite -threshold 8% "$out/$1-specks.png"
  convert "$out/$1-specks.png" -format "%[fx:round(mean * w * h)]" info:
}

# Screenshots NAME-1, NAME-2, ... about 0.7 s apart, with the view held still, until the specks in
# a region of sky have moved from one shot to the next (up to 24 shots). Then the static scenery
# in the region STILL (tree trunks and bank) must not have changed between those two shots
# beyond the sky seen through its gaps: the view itself did not move.
expect_wildlife_moving() {  # NAME SKY STILL WHAT
  local i n prev=0 moved=0 d still
  local area=$(( ${2%%x*} * $(sed 's/^[0-9]*x\([0-9]*\).*/\1/' <<<"$2") ))
  for ((i = 1; i <= 24; i++)); do
    screenshot "$1-$i"
    n=$(specks "$1-$i" "$2")
    ((n * 50 < area)) || fail "$1-$i: $n speck pixels in $2, more than small sprites make"
    if ((n > 0 && prev > 0)); then
      d=$(compare -metric AE "$out/$1-$((i - 1))-specks.png" "$out/$1-$i-specks.png" null: 2>&1)
      if [[ "${d%% *}" != "0" ]]; then moved=$i; break; fi
    fi
    prev=$n
    sleep 0.7
  done
  ((moved)) || fail "$1: no specks moved in the sky in $((i - 1)) shots"
  still=$(diff_share "$1-$((moved - 1))" "$1-$moved" "$3")
  awk -v s="$still" 'BEGIN { exit !(s < 0.1) }' || fail "$1-$moved: the view moved (static scenery changed $still)"
  step "$1-$moved: $4 ($prev and $n speck pixels, moved; static scenery changed $still)"
}

# Where the screens draw what the run clicks, in window pixels (the 800 x 600 picture; the game
# lays its texts out for the framed 808 x 634 window it was made for). Each is the middle of what
# is drawn, measured on screenshots: a button picture between its light top-left and dark
# bottom-right edges, a text between its first and last lit pixels.
PLAY="392 564"          # "Click here to play" (title and orbit view): text 291..494 x 552..577
GO_FISHING="33 28"      # the "Go fishing!" box, 8..57 x 5..51
READ_MANUAL="85 28"     # the "Read manual" box, 60..109 x 5..51
BAIT2="748 162"         # hook bait 2 (fishmeal boilies), 737..759 x 151..173
TOUR="34 216"           # the "Tour" box, 17..51 x 202..230
DUCK="34 249"           # the "Duck" box, 17..51 x 235..263
STOCKS="757 546"        # the "Stocks" box, 725..789 x 533..558
CONTOURS="757 582"      # the "Contours" box, 725..789 x 570..594
ROD_REEL4="561 575"     # rod and reel 4, 550..572 x 564..586
MAINLINE="195 559"      # the main line's number in the tackle row ("10 lb"), 182..208 x 554..564

# Another script may source this one for its helpers alone.
if [[ -n "${E2E_HELPERS_ONLY:-}" ]]; then return 0; fi

# ---- steps ---------------------------------------------------------------------------------

# A save file with three photos and two best weights, in the game's own number format, so that
# the run can show it was read and is written back unchanged. The player's own save is kept.
# Photo 1 shows its fish beside the rod pod of swim 3, from 4 units off the fish on the water side.
read -r eye1x eye1z heading1 < <(tail -n 9 "$game/data/data.qd" | sed -n 3p |
  awk '{ f = $3; fishX = $1 + sin(f + 4.8) * 1.8; fishZ = $2 + cos(f + 4.8) * 1.8;
         printf "%.2f %.2f %.3f\n", fishX + sin(f + 5.8) * 4, fishZ + cos(f + 5.8) * 4, f + 2.658 }')
save="$game/photos/photos.qd"
mkdir -p "$game/photos"
kept=""
if [[ -e "$save" ]]; then kept="$out/.player-save.qd"; cp -p "$save" "$kept"; fi
restore_save() { if [[ -n "$kept" ]]; then cp -p "$kept" "$save"; else rm -f "$save"; fi; }
trap restore_save EXIT
{
  photo() {  # rod1 rod2 rig swim kind size weight shape eyeX eyeZ heading [pitch]
    printf '%d\n%d\n%d\n%d\n' "$1" "$2" "$3" 1
    printf '%e\n' "$6" "$7"
    printf '%d\n%d\n' "$4" "$5"
    printf '%e\n' "$8" 0.25 0.5 0.75 "$9" 2 "${10}" "${11}" "${12:-6.4}"
  }
  photo 1 1 1 3 5 12.7 18.75 28 "$eye1x" "$eye1z" "$heading1" 6.65
  photo 1 0 5 5 12 1.1 12.5 35 120 120 3.1
  photo 0 1 1 7 32 0.9 9.25 22 150 80 5.5
  for ((i = 3; i < 50; i++)); do printf '0\n0\n0\n0\n'; printf '%e\n' 0 0; printf '0\n0\n'; printf '%e\n' 0 0 0 0 0 0 0 0 0; done
  for ((i = 0; i < 75; i++)); do
    case $i in 4) printf '%e\n' 18.75 ;; 11) printf '%e\n' 12.5 ;; *) printf '%e\n' 0 ;; esac
  done
} >"$save"
cp "$save" "$out/seeded-save.qd"

start_game lakeside
wait_for_frames title
# A slow build (with sanitizers) can show a few frames before the title's texts: wait up to 10 s.
# The loading message is black on white, so the title is there once its top rows are black.
for ((i = 0; i < 40; i++)); do
  awk -v s="$(colour_share title 210x26+288+552 "#FAFAFA")" -v b="$(colour_share title 800x60+0+0 "#000000")" \
    'BEGIN { exit !(s >= 0.05 && b >= 0.5) }' && break
  sleep 0.25
  screenshot title
done
expect_colour title 800x60+0+0 "#000000" 0.5 "the title's top rows are black: the loading message has gone"
keep title title
expect_size title 800 600
expect_window_geometry 0 0 800 600
# The fixed texts of the title in their rows (light text on black).
expect_colour title 756x14+24+79 "#FAFAFA" 0.04 "first line of the introduction is drawn"
expect_colour title 458x14+169+155 "#FAFAFA" 0.04 "line about the 48 further fish is drawn"
expect_colour title 210x26+288+552 "#FAFAFA" 0.05 "\"Click here to play\" is drawn"
# The strip at the bottom left carries no lettering over the foot line: the line stands below it.
expect_colour title 160x14+16+584 "#FAFAFA" 0.04 "the foot line is drawn"

click_at $PLAY
# On a busy machine the map can take a while to come up (or the click can fall between two slow
# frames): look again for up to 10 s, clicking once more if the title is still there after 4 s.
for ((i = 0; i < 40; i++)); do
  screenshot map
  swims=$(count_blobs map 630x400+84+84 "#FFD83A" 45)
  [[ "$swims" == 9 ]] && break
  ((i == 16)) && click_at $PLAY
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

click_at $BAIT2
screenshot bait2
differs swim3 bait2 80x86+718+20 || fail "the hook-bait name and picture did not change"
expect_colour bait2 460x14+250+41 "#141414" 0.04 "the bait sentence is drawn"
step "tackle panel follows the hook-bait choice"

# A click on the main line's number in the tackle row steps it (10 lb to 11 lb): the number and
# the rig sentence ("10lb mainline, ...") change.
click_at $MAINLINE
screenshot mainline
differs bait2 mainline 30x12+180+553 || fail "a click on the main line's number did not change it"
differs bait2 mainline 24x14+250+25 || fail "the rig sentence did not follow the main line's new strength"
step "a click on the main line's number stepped it"

hover_at 430 300
screenshot readout
differs mainline readout 120x24+350+278 || fail "no depth or height read-out beside the pointer"
step "the read-out follows the pointer"
keep readout map

# The instructions from the map's "Read manual" button: two pages and the credits, each turned
# with X, the last one back to the map.
click_at $READ_MANUAL
wait_for_colour instructions 800x600+0+0 "#323232" 0.6 10 "the instructions' dark grey page is shown" 3%
expect_colour instructions 720x26+40+18 "#FAFAFA" 0.05 "the instructions' heading is drawn"
expect_colour instructions 720x250+40+85 "#FAFAFA" 0.01 "page 1's lines are drawn"
keep instructions instructions
press x
sleep 0.8
screenshot instructions2
differs instructions instructions2 720x250+40+85 || fail "X did not turn to page 2"
step "X turned to page 2"
press x
sleep 0.8
screenshot credits
differs instructions2 credits 720x250+40+85 || fail "X did not turn to the credits"
step "X turned to the credits"
press x
back_on_map map_after_instructions

# The orbit view from the map's "Contours" button: the left arrow turns it; the bottom button
# goes back to the map.
click_at $CONTOURS
screenshot orbit
differs map_after_instructions orbit 630x400+84+84 || fail "the orbit view did not replace the map"
tap Left 1.0
sleep 0.3
screenshot orbit2
differs orbit orbit2 630x400+84+84 || fail "the left arrow did not turn the orbit view"
step "the orbit view turns with the left arrow"
keep orbit2 orbit
click_at $PLAY
back_on_map map_after_orbit


# ---- at the lake: going fishing at swim 3 --------------------------------------------------
lake_water=800x250+0+350     # lower part of the view: the lake
tips_lines=300x110+16+0      # the tips at the top left
pod=300x120+500+380          # where the alarm heads of the rod pod stand (dark grey), bottom right
rods=160x80+620+290          # the rods (dark grey, not the green water) above the alarms
status_line=220x16+320+18    # "Casting first rod." and the other casting lines
click_at $GO_FISHING
sleep 1
screenshot lake
expect_colour lake "$lake_water" "#475D54" 0.25 "the lake's water fills the lower part of the view"
expect_colour lake "$tips_lines" "#FAFAFA" 0.04 "the tips are drawn"
keep lake lake

toggle_tips tips_off off
step "T turned the tips off"
toggle_tips tips_on on
step "T turned the tips on again"

# B is taken once per press: a press held over a slow frame is not lost, so hold it a while, and
# press again when a press still fell between two frames.
binocular_press() {  # NAME up|down
  local i share
  for i in 1 2 3; do
    tap b 0.25
    sleep 0.8
    screenshot "$1"
    share=$(colour_share "$1" 800x600+0+0 "#000000")
    if [[ $2 == up ]]; then awk -v s="$share" 'BEGIN { exit !(s >= 0.15) }' && return 0
    else awk -v s="$share" 'BEGIN { exit !(s < 0.05) }' && return 0; fi
  done
  fail "$1: B did not put the binoculars $2 (share of black $share)"
}
binocular_press binoculars up
step "binoculars: the binoculars' mask is up"
keep binoculars binoculars
binocular_press binoculars_off down
step "B lowers the binoculars"

ground=800x300+0+300          # the lower half of the view
hold_button 1 0.15           # the left button walks backward
sleep 0.8
screenshot walked_back
sleep 0.8
screenshot walked_back_still
expect_moved binoculars_off walked_back walked_back_still "$ground" "holding the left button walked the angler back"
hold_button 3 0.15           # the right button walks forward
sleep 0.8
screenshot walked_forward
sleep 0.8
screenshot walked_forward_still
expect_moved walked_back_still walked_forward walked_forward_still "$ground" "holding the right button walked him forward"

# Back within reach of the swim: "Press F to start fishing here." is shown.
offer=360x32+240+36
for _ in 1 2 3 4; do
  screenshot offer
  awk -v s="$(colour_share offer "$offer" "#FAFAFA")" 'BEGIN { exit !(s >= 0.04) }' && break
  hold_button 3 0.15
  sleep 0.8
done
expect_colour offer "$offer" "#FAFAFA" 0.04 "\"Press F to start fishing here.\" is offered"

tap f 0.25
wait_for_colour at_swim "$pod" "#222326" 0.1 10 "F walked to the swim: the rod pod with its alarms is there" 5%
expect_colour at_swim "$status_line" "#FAFAFA" 0.03 "\"Casting first rod.\" is shown"

# On a loaded machine a click can fall within one slow frame and be lost: while the line that
# asks for a cast is still the same, the click is given again (it can do nothing but cast).
line_share() { colour_share "$1" "$status_line" "#FAFAFA"; }
hold_button 1 0.15
for ((try = 0; try < 12; try++)); do
  sleep 0.6
  screenshot cast1
  if differs at_swim cast1 "$status_line"; then
    awk -v s="$(line_share cast1)" 'BEGIN { exit !(s >= 0.03) }' && break  # "Casting second rod."
  else
    hold_button 1 0.15  # still "Casting first rod."
  fi
done
expect_colour cast1 "$status_line" "#FAFAFA" 0.03 "after rod 1 landed a casting line is shown again: rod 2 is not cast yet"
differs at_swim cast1 "$status_line" || fail "the first click did not move on to the second rod"
step "first click cast rod 1: \"Casting second rod.\" is shown"
hold_button 1 0.15
for ((try = 0; try < 6; try++)); do
  sleep 0.8
  screenshot cast2
  awk -v s="$(line_share cast2)" 'BEGIN { exit !(s < 0.01) }' && break
  hold_button 1 0.15  # still "Casting second rod."
done
awk -v s="$(line_share cast2)" 'BEGIN { exit !(s < 0.01) }' ||
  fail "cast2: the casting line is still shown after the second cast"
sleep 1
screenshot cast2
awk -v a="$(colour_share at_swim "$rods" "#1E1F20" 5%)" -v b="$(colour_share cast2 "$rods" "#1E1F20" 5%)" \
  'BEGIN { exit !(b > a + 0.01) }' || fail "cast2: no rods on the rests after both casts"
step "second click cast rod 2: both rods lie on their rests, fishing"
keep cast2 fishing

catapult=180x180+180+420     # the catapult in the hand (its dark fork), bottom left of centre
tap g 0.2
sleep 0.8
screenshot catapult
expect_share_change cast2 catapult "$catapult" "#2B2A2D" 0.03 "G raised the catapult" 5%
hold_button 1 0.15
sleep 1.5
screenshot groundbait
expect_share_change catapult groundbait "$catapult" "#2B2A2D" -0.03 "a click fired the groundbait, the catapult went down" 5%

tap x 0.25
sleep 1
screenshot map_again
expect_colour map_again 400x380+200+90 "#1B3246" 0.10 "X went back to the map"
# The tour flies over the lake by itself; X brings the map back at its zoom.
click_at $TOUR
sleep 1
screenshot tour
sleep 1.5
screenshot tour2
expect_colour tour 200x20+10+14 "#FAFAFA" 0.03 "the tour's exit line is drawn"
differs tour tour2 800x400+0+200 || fail "the tour's view did not move"
step "the tour flies on"
keep tour2 tour
press x
back_on_map map_after_tour

# Duck mode: the lake from the duck's head, swimming forward with the right button; X back.
click_at $DUCK
sleep 1
screenshot duck
expect_colour duck 400x24+10+14 "#FAFAFA" 0.03 "duck mode's exit line is drawn"
tap Up 0.1                   # the duck starts looking down, under the surface: a look up surfaces it
xdotool mousedown 3 && sleep 1.5 && xdotool mouseup 3
screenshot duck2
differs duck duck2 800x400+0+200 || fail "the duck did not move with the right button held"
step "the duck swims"
keep duck2 duck
press x
back_on_map map_after_duck

# The stocking records from the map's button, paged through with the bottom button back to the map.
# Seven pages; on a heavily loaded machine a frame slower than the click's 0.6 s lock can let one
# held click turn two pages, so one page may go unseen.
# A click that falls in the map's input lock (or one slow frame) is lost: the button is clicked
# again while the map stays.
for ((try = 1; try <= 3; try++)); do
  click_at $STOCKS
  sleep 0.3
  screenshot stocking_enter
  [[ "$(count_blobs stocking_enter 630x400+84+84 "#FFD83A" 45)" == 9 ]] || break
  sleep 0.5
done
pages=0
for ((click = 1; click <= 9; click++)); do
  screenshot "stocking$click"
  swims=$(count_blobs "stocking$click" 630x400+84+84 "#FFD83A" 45)
  [[ "$swims" == 9 ]] && break
  expect_colour "stocking$click" 400x30+200+4 "#6432FA" 0.03 "stocking page: the title"
  expect_colour "stocking$click" 600x300+70+220 "#FAFAFA" 0.01 "stocking page: rows of the stock table"
  ((click == 1)) && keep stocking1 stocking
  pages=$((pages + 1))
  # The page's last line, "Click here to continue" (or "... to play" on the last page), in the
  # large font in the bottom rows: clicked in its middle.
  read -r cx cy < <(drawn_middle "stocking$click" 800x40+0+560 "#FAFAFA")
  [[ -n "${cy:-}" ]] || fail "stocking$click: no \"Click here to ...\" line at the bottom"
  click_at "$cx" "$cy"
  sleep 0.3
done
[[ "$swims" == 9 ]] || fail "the stocking records did not return to the map"
((pages >= 6)) || fail "only $pages stocking pages before the map, expected 7"
step "$pages stocking pages, then the map"

# Back at the lake on the bank: C shows the catch records, X returns; P opens the photo album,
# a click turns to the next photo, P returns; X back to the map.
click_at $GO_FISHING
sleep 1.5
screenshot lake_again
expect_colour lake_again "$lake_water" "#475D54" 0.25 "\"Go fishing\" went to the lake again"
# The living lake at swim 3: the view turned up as far as it goes (the arrow held past the limit)
# and then held still; gulls circle in the sky above the far bank's trees. The sky watched is
# the screen's whole width below the tips and the hint and above the trees: a slow program's
# gulls may circle on one side of the lake for the whole watch.
tap Up 2.0
sleep 0.5
expect_wildlife_moving wildlife 800x340+0+115 800x50+0+550 "gulls fly over the lake"
tap c 0.2
sleep 1
screenshot catch_records
expect_colour catch_records 800x600+0+0 "#000000" 0.5 "the catch records show on black"
expect_colour catch_records 380x520+0+40 "#FAFAFA" 0.004 "the catch records list the named fish"
keep catch_records catch-records
press x
sleep 1.2
tap p 0.2
sleep 2.5
screenshot album
differs lake_again album 800x600+0+0 || fail "P on the bank did not open the photo album"
expect_colour album 800x120+0+0 "#FAFAFA" 0.002 "the album's texts are shown"
hold_button 1 0.15
sleep 2.5
screenshot album2
differs album album2 800x600+0+0 || fail "a click did not turn to the next photo"
step "the album shows the seeded photos"
keep album album
tap p 0.2
sleep 1.2
tap x 0.2
sleep 1
back_on_map map_after_album

press Escape
expect_exit 0 5
expect_path "$game/photos/photos.qd"
cmp -s "$save" "$out/seeded-save.qd" || fail "the save file written at exit differs from the one the game read"
step "the save file was written back with the photos and best weights it started with"
expect_fails_without_display lakeside

echo "e2e: all steps passed"
