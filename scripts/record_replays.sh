#!/usr/bin/env bash
# Records the replay regression suite in tests/replays/ again, against the sample game as the
# generator writes it now. Run it (or `make replays`) after a change to stage play, the event
# scripts or the sample game that is meant to change how the sample's stages play; then look at
# the difference of the lists and commit them.
#
# For each stage named in tests/replays/stages (one a line) the stage data\stg4\STAGE.stg4 is
# played headless with a fixed seed from tests/replays/STAGE.input, or keys.input when it has none
# (held keys per frame, as --input takes them); the first attempt is
# saved with F1 at its end (the last frame before the retry after a death, the stage result after a
# clear, else near the end of the play), which gives STAGE.rpl4_556; its play-back then gives the digest list STAGE.digests.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
frames=${FRAMES:-600}
seed=${SEED:-7}
suite="$root/tests/replays"

cmake --build "$build" --target player make_sample_game
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/make_sample_game" "$work/game" >/dev/null
mkdir -p "$work/game/user_data/rpl4"

# The input file $1 with F1 added to the keys held in frame $2 only.
with_f1() {
  awk -v f1="$2" '
    BEGIN { count = 0 }
    function flush_until(limit) { while (n < count && frame[n] < limit) { print frame[n], keys[n]; n++ } }
    function held(f,   i, k) { k = ""; for (i = 0; i < count && frame[i] <= f; i++) k = keys[i]; return k }
    { sub(/#.*/, ""); if (NF == 0) next; f = $1; $1 = ""; sub(/^ /, ""); frame[count] = f; keys[count] = $0; count++ }
    END {
      n = 0
      flush_until(f1)
      print f1, held(f1) " F1"
      print f1 + 1, held(f1 + 1)
      while (n < count && frame[n] <= f1 + 1) n++
      flush_until(2147483647)
    }' "$1"
}

# The frame of the state line that follows the nth "play state NAME" line of trace $1; empty when none.
frame_of_state() {
  awk -v state="play state $2" -v nth="$3" '
    $0 == state { seen++; if (seen == nth) want = 1; next }
    want && /^frame=/ { sub(/^frame=/, ""); print $1 + 0; exit }' "$1"
}

grep -v '^#' "$suite/stages" | while read -r stage; do
  [ -n "$stage" ] || continue
  input="$suite/$stage.input"
  [ -f "$input" ] || input="$suite/keys.input"
  replay="user_data\\rpl4\\$stage.rpl4_556"
  echo "== $stage"
  "$build/player" -C "$work/game" --headless --seed "$seed" --frames "$frames" --input "$input" \
    --trace "$work/live.txt" --trace-state "data\\stg4\\$stage.stg4"
  # F1 in the last frame of the first attempt: before the retry after a death, in the stage result
  # after a clear, else near the end of the play.
  retried=$(frame_of_state "$work/live.txt" "1 ready" 2)
  cleared=$(frame_of_state "$work/live.txt" "4 result" 1)
  f1=$((frames - 2))
  if [ -n "$retried" ]; then f1=$((retried - 1)); fi
  if [ -n "$cleared" ] && { [ -z "$retried" ] || [ "$cleared" -lt "$retried" ]; }; then f1=$((cleared + 1)); fi
  with_f1 "$input" "$f1" >"$work/input.txt"
  rm -f "$work/game/user_data/rpl4/$stage.rpl4_556"
  "$build/player" -C "$work/game" --headless --seed "$seed" --frames "$frames" --input "$work/input.txt" \
    --answer "save-replay=$replay" "data\\stg4\\$stage.stg4"
  cp "$work/game/user_data/rpl4/$stage.rpl4_556" "$suite/$stage.rpl4_556"
  "$build/player" -C "$work/game" --headless --replay "$replay" --record-digests "$suite/$stage.digests"
done
