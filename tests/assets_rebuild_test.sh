#!/usr/bin/env bash
# A build brings back a generated file that was deleted or changed, byte for byte, and a build with
# nothing missing writes nothing. Runs the real build of BUILD_DIR (ctest runs it alone).
# Usage: assets_rebuild_test.sh BUILD_DIR
set -uo pipefail
build=${1:?usage: assets_rebuild_test.sh BUILD_DIR}
game="$build/game"
files=(models/lake.qd data/data.qd textures/intro.bmp textures/water.tga sounds/alarm.wav)

fail() { echo "assets_rebuild FAILED: $*" >&2; exit 1; }
build_assets() { cmake --build "$build" --target game_assets >/dev/null || fail "the build failed"; }
sums() { (cd "$game" && md5sum "${files[@]}"); }

build_assets
before=$(sums) || fail "a generated file is missing after a build"

rm -f "$game/models/lake.qd" "$game/sounds/alarm.wav"
printf 'not a picture' >"$game/textures/intro.bmp"
: >"$game/data/data.qd"
build_assets
after=$(sums) || fail "a deleted file was not made again"
[[ "$after" == "$before" ]] || fail "changed files were not made again: $(diff <(echo "$before") <(echo "$after"))"

# A no-op build leaves every file as it is.
stamp=$(stat -c '%y' "${files[@]/#/$game/}")
build_assets
[[ "$(stat -c '%y' "${files[@]/#/$game/}")" == "$stamp" ]] || fail "a build with nothing missing wrote the files again"
echo "assets_rebuild: deleted and changed files were made again"
