#!/usr/bin/env bash
# Shrinks fuzz/corpus/<reader> to the hand-made seeds plus the smallest inputs that still reach
# every code path the whole corpus (and any folders named) reaches. Needs the fuzzing build
# (scripts/fuzz.sh makes it).
# Usage: fuzz/minimise.sh <reader> [more input folders]
set -euo pipefail
cd "$(dirname "$0")/.."
reader=${1:?usage: fuzz/minimise.sh <reader> [folders]}
shift
corpus=fuzz/corpus/$reader
kept=$(mktemp -d)
cp "$corpus"/seed-* "$kept"/
# The seeds come first: every other input kept reaches code beyond them (smallest first; hit
# counts are not told apart, which keeps the set small).
build-fuzz/fuzz/fuzz_"$reader" -merge=1 -use_counters=0 "$kept" "$corpus" "$@" 2>&1 | grep -E "MERGE-OUTER: [0-9]+ new files" || true
rm -f "$corpus"/*
cp "$kept"/* "$corpus"/
rm -rf "$kept"
echo "$corpus: $(ls "$corpus" | wc -l) files, $(du -sb "$corpus" | cut -f1) bytes"
