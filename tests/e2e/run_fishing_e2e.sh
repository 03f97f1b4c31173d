#!/usr/bin/env bash
# End-to-end fishing with the real program and real X input (ctest starts a private Xvfb): from
# the title to the map, the strongest rod and reel, go fishing at swim 5, walk to the rods, cast
# both, catapult groundbait over them, wait for the strike hint, strike, play the fish with the
# clutch screwed up and the rod swung, step to the water when the net would be on land, and once
# the fish is in the sling photograph it. Escape then closes the game, whose save file must hold
# the photo record and the fish's best weight. A strike can miss and a fight can be lost (a hook
# pull, a snapped line): the struck rod is then re-cast and the angler waits for the next bite,
# up to six bites a run and three runs of the game. Screenshots are kept in build/e2e/fishing-*.png.
# Usage: LAKESIDE_LONG_E2E=1 run_fishing_e2e.sh BUILD_DIR
set -uo pipefail

# It runs for minutes: only when asked for (LAKESIDE_LONG_E2E=1), else it counts as skipped.
if [[ -z "${LAKESIDE_LONG_E2E:-}" ]]; then
  echo "e2e fishing: set LAKESIDE_LONG_E2E=1 to run it" >&2
  exit 77
fi

here=$(cd "$(dirname "$0")" && pwd)
E2E_HELPERS_ONLY=1 source "$here/run_e2e.sh" "$1"

# A scratch game folder: the built game's files linked, with a photos folder of its own.
scratch=$(mktemp -d /tmp/lakeside_fishing_e2e_XXXXXX)
trap 'rm -rf "$scratch"' EXIT
built="$game"
game="$scratch"
for entry in "$built"/*; do
  [[ "$(basename "$entry")" == photos ]] || ln -s "$entry" "$scratch/"
done

# Shares 0..1 of near-white text pixels and of the red of "Hint!" in a region of a screenshot.
white_share() { colour_share "$1" "$2" "#FAFAFA" 4%; }  # NAME REGION
red_share() { colour_share "$1" "$2" "#FA1414" 8%; }    # NAME REGION
above() { awk -v s="$1" -v m="$2" 'BEGIN { exit !(s >= m) }'; }

# Text places in window pixels: a text at x %, y % starts at 8.08 x, 6.34 y (the game lays its
# texts out for the framed 808 x 634 window); the small font's letters fill about rows 3..15 of
# its 16-pixel cell, the large font's rows 7..32.
# "Press 1 to strike rod 1 !" at 41, 15 (331, 95) and "Press 2 to strike rod 2 !" at 41, 18
# (331, 114): the strip 150x36+330+95 holds both, rod 1's letters in its rows 3..15, rod 2's in
# rows 22..34.
STRIKE_STRIP="150x36+330+95"
RECAST_LEFT="110x10+18+42"  # "Press R to re-cast" at 2, 6 (16, 38) (the sling and photo mode)
PHOTO_HINT="150x10+18+61"   # "Press P to take a photo" at 2, 9 (16, 57) (the sling)
LOSS="120x10+340+67"        # "Press R to re-cast." of a miss (40, 10) or a loss (42, 10), row 63
HINT="50x22+18+72"          # the red "Hint!" at 2, 10 (16, 63), large font (the net would be on land)

key_down() { xdotool keydown "$1"; }
key_up() { xdotool keyup "$1"; }

# Waits up to four minutes for the strike hint and strikes that rod at once (a take is short).
# Sets `rod`; returns 1 when no bite came.
wait_and_strike() {
  rod=""
  local until=$((SECONDS + 240))
  while ((SECONDS < until)); do
    kill -0 "$pid" 2>/dev/null || fail "the game ended while waiting for a bite"
    error_box_check
    import -window "$window" -crop "$STRIKE_STRIP" +repage "$out/fishing-bite.png" 2>/dev/null || continue
    if above "$(white_share fishing-bite 150x10+0+4)" 0.06; then rod=1; break; fi
    if above "$(white_share fishing-bite 150x10+0+23)" 0.06; then rod=2; break; fi
  done
  [[ -n "$rod" ]] || return 1
  xdotool keydown "$rod" && sleep 0.1 && xdotool keyup "$rod"
  step "a bite on rod $rod: struck"
  sleep 0.5
  screenshot "fishing-struck"
}

# Plays the hooked fish: right button held (clutch up), the rod swung fully to one side, a step
# to the water whenever the net would stand on land. Returns 0 once the fish is in the sling,
# 1 when it was missed or lost.
play_fish() {
  xdotool mousedown 3
  for i in 1 2 3 4 5 6; do xdotool mousemove_relative -- 120 0; sleep 0.05; done
  local stepping=0 landed=0 i
  for ((i = 0; i < 900; i++)); do
    kill -0 "$pid" 2>/dev/null || fail "the game ended during the fight"
    screenshot "fishing-fight"
    if above "$(white_share fishing-fight "$RECAST_LEFT")" 0.05 &&
       above "$(white_share fishing-fight "$PHOTO_HINT")" 0.05; then
      landed=1
      break
    fi
    if above "$(white_share fishing-fight "$LOSS")" 0.05; then break; fi
    if above "$(red_share fishing-fight "$HINT")" 0.05; then
      ((stepping)) || key_down Up
      stepping=1
    else
      ((stepping)) && key_up Up
      stepping=0
    fi
    (( i % 20 == 0 )) && xdotool mousemove_relative -- 60 0
    sleep 0.2
  done
  ((stepping)) && key_up Up
  xdotool mouseup 3
  ((landed))
}

# One run of the game: up to six bites, re-casting the struck rod after a miss or a loss.
# Returns 0 with the fish photographed and the game closed, 1 to try again.
attempt() {
  local n=$1 fight
  rm -f "$scratch/photos/photos.qd"
  mkdir -p "$scratch/photos"
  start_game lakeside
  wait_for_frames "fishing-title"
  click_at $PLAY                          # "Click here to play"
  back_on_map "fishing-map"
  read -r sx sy < <(swim_pixel 5)
  click_at "$sx" "$sy"                    # swim 5
  screenshot "fishing-swim"
  differs fishing-map fishing-swim 40x40+12+278 || fail "the panel's swim number did not change to 5"
  click_at $ROD_REEL4                     # rod and reel 4
  screenshot "fishing-tackle"
  differs fishing-swim fishing-tackle 56x56+622+540 || fail "the current rod and reel did not change to 4"
  click_at $GO_FISHING                    # go fishing
  wait_for_colour "fishing-lake" 800x250+0+350 "#475D54" 0.25 10 "\"Go fishing\" went to the lake"
  press f
  sleep 4                                 # the walk to the rods
  screenshot "fishing-at-swim"
  click_at 400 300                        # cast rod 1
  sleep 2
  click_at 400 300                        # cast rod 2
  sleep 3
  for i in 1 2 3; do                      # groundbait over the baits
    press g
    sleep 0.6
    click_at 400 300
    sleep 3
  done
  screenshot "fishing-waiting"

  for fight in 1 2 3 4 5 6; do
    wait_and_strike || { step "run $n: no bite in four minutes"; break; }
    if play_fish; then
      screenshot "fishing-sling"
      step "run $n, bite $fight: the fish is in the sling"
      sleep 0.5
      press p                             # photo mode
      sleep 1.6
      screenshot "fishing-photo-mode"
      press p                             # the picture
      sleep 2
      screenshot "fishing-after-photo"
      press Escape
      expect_exit 0 10
      return 0
    fi
    cp "$out/fishing-fight.png" "$out/fishing-lost-$n-$fight.png"
    step "run $n, bite $fight: missed or lost; re-cast"
    press r                               # back to the rods
    sleep 4
    click_at 400 300                      # re-cast the struck rod
    sleep 3
  done
  press Escape
  expect_exit 0 10
  return 1
}

done_ok=0
for n in 1 2 3; do
  if attempt "$n"; then
    done_ok=1
    break
  fi
done
((done_ok)) || fail "no fish landed in three runs of the game"

save="$scratch/photos/photos.qd"
expect_path "$save"
lines=$(wc -l <"$save")
[[ "$lines" == 925 ]] || fail "the save file has $lines lines, expected 925"
[[ "$(sed -n 4p "$save")" == 1 ]] || fail "photo 1 is not in use"
kind=$(sed -n 8p "$save")
weight=$(sed -n 6p "$save")
best=$(tail -n 75 "$save" | grep -v '^0.000000e+00$' | head -n1)
[[ -n "$best" ]] || fail "no best weight was kept"
[[ "$best" == "$weight" ]] || fail "best weight $best is not the photographed fish's $weight"
step "save file: photo of a kind $kind fish of $weight lb, best weight $best"
echo "e2e fishing: all steps passed"
