#!/usr/bin/env bash
# Mutation runs of the whole player: every file of the sample game damaged in turn, the damaged
# game played headless for a few frames by the sanitizer build.
#
#   scripts/mutation_runs.sh [MUTATIONS]     (default 10 damaged copies of each file)
#
# The sample game is written into a temporary folder and given the player's own files: short
# scripted plays write the options, a story save, challenge progress with a ranking and the
# launcher's Boot.dat; the replays come from tests/replays, and a KeyConfig.dat is added. For each of
# its files, MUTATIONS damaged copies are made by tools/mutate_file (seeded: the seed of a run makes
# its damage again), and each is played by the runs that read that file: the title, a stage started
# directly, and where the file calls for it the replay, the story continued from its slot, the
# challenge list with a ranking shown, the options, a new story on the world map, or the start that
# asks the launcher. A file under default\ is played with data\ removed, so the first-run copy
# takes it.
#
# A run passes when it exits cleanly or after an error box. It fails on a crash, a sanitizer report,
# any other exit status, no exit within TIME_LIMIT seconds, or a file written outside the game
# folder (each game folder lies four folders deep in a sandbox that is searched afterwards). The
# damaged file, the command and the run's output of every failure are kept under FAILURES. The
# summary gives runs, files and failures; the exit status is 1 when any run failed.
#
# Environment: BUILD (default build-asan, as `make build-asan` makes it), JOBS (runs at once,
# default 3), TIME_LIMIT (seconds a run, default 60), SEED (default 1), FAILURES (default
# mutation_failures), FILTER (an extended regular expression: only the game files it matches).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
self="$root/scripts/mutation_runs.sh"

# One run: ID FILE MODE SEED, with WORK, BUILD and TIME_LIMIT in the environment. Writes the
# run's result line into WORK/results/ID.
run_one() {
  local id=$1 file=$2 mode=$3 seed=$4
  local box="$WORK/runs/$id" game="$WORK/runs/$id/a/b/c/game"
  mkdir -p "$box/a/b/c" "$box/xdg"
  cp -a "$WORK/base" "$game"
  if [[ $file == default/* ]]; then rm -rf "$game/data"; fi
  # Boot.dat is read only when System.ini leaves the renderer to the launcher.
  if [[ $mode == boot ]]; then sed -i 's/^Direct3D=1/Direct3D=2/' "$game/System.ini"; fi
  local kind
  kind=$("$BUILD/tools/mutate_file" "$WORK/base/$file" "$game/$file" "$seed")

  local stage=${STAGES[$((seed % ${#STAGES[@]}))]}
  if [[ $file =~ stg4/([^/.]+)\.stg4 ]]; then stage=${BASH_REMATCH[1]}; fi
  local -a args=(--headless --seed "$seed" --trace "$box/trace.txt")
  case $mode in
    title) args+=(--frames 30) ;;
    stage) args+=(--frames 260 --input "$WORK/keys/stage.txt" "data\\stg4\\$stage.stg4") ;;
    replay) args+=(--frames 260 --replay "user_data\\rpl4\\$(basename "$file")") ;;
    continue) args+=(--frames 120 --input "$WORK/keys/continue.txt") ;;
    challenge) args+=(--frames 160 --input "$WORK/keys/challenge.txt") ;;
    options) args+=(--frames 150 --input "$WORK/keys/options.txt") ;;
    map) args+=(--frames 150 --input "$WORK/keys/map.txt") ;;
    boot) args+=(--frames 30 --answer launcher=click:1003,click:1004) ;;
  esac

  local status=0
  XDG_RUNTIME_DIR="$box/xdg" ASAN_OPTIONS=detect_leaks=1:exitcode=86 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=87 \
    timeout -k 5 "$TIME_LIMIT" "$BUILD/player" -C "$game" "${args[@]}" >"$box/stdout.txt" 2>"$box/stderr.txt" ||
    status=$?

  local verdict=clean why=""
  if grep -q '^box ' "$box/trace.txt" 2>/dev/null; then verdict=box; fi
  if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: UndefinedBehaviorSanitizer' "$box/stderr.txt"; then
    verdict=fail why="sanitizer report"
  elif ((status == 124 || status == 137)); then
    verdict=fail why="no exit within ${TIME_LIMIT}s"
  elif ((status > 128)); then
    verdict=fail why="killed by signal $((status - 128))"
  elif ((status != 0)); then
    verdict=fail why="exit status $status"
  fi
  # Anything but the run's own files beside the game folder was written through the game.
  local strays
  strays=$(find "$box" -mindepth 1 -path "$game" -prune -o -path "$box/xdg" -prune -o \
    ! -path "$box/a" ! -path "$box/a/b" ! -path "$box/a/b/c" \
    ! -path "$box/trace.txt" ! -path "$box/stdout.txt" ! -path "$box/stderr.txt" -print)
  if [[ -n $strays ]]; then verdict=fail why="written outside the game folder: ${strays//$'\n'/ }"; fi

  if [[ $verdict == fail ]]; then
    local keep="$FAILURES/$id"
    mkdir -p "$keep"
    cp "$game/$file" "$keep/$(basename "$file")" 2>/dev/null || true
    cp "$box/stderr.txt" "$box/trace.txt" "$keep/" 2>/dev/null || true
    {
      echo "file: $file"
      echo "damage: $kind (mutate_file SEED $seed)"
      echo "why: $why"
      printf 'command: player -C GAME'
      printf ' %q' "${args[@]}"
      echo
    } >"$keep/run.txt"
  fi
  echo "$verdict	$mode	$file	$seed	$kind	$why" >"$WORK/results/$id"
  rm -rf "$box"
}

if [[ ${1:-} == --run-one ]]; then
  shift
  read -r -a STAGES <"$WORK/stages.txt"
  run_one "$@"
  exit 0
fi

mutations=${1:-10}
export BUILD=${BUILD:-$root/build-asan}
export TIME_LIMIT=${TIME_LIMIT:-60}
export FAILURES=${FAILURES:-$root/mutation_failures}
jobs=${JOBS:-3}
seed0=${SEED:-1}
filter=${FILTER:-.}
for program in player tools/make_sample_game tools/mutate_file; do
  [[ -x $BUILD/$program ]] || { echo "mutation_runs: no $BUILD/$program (make build-asan)" >&2; exit 2; }
done

export WORK
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/runs" "$WORK/results" "$WORK/keys"
rm -rf "$FAILURES"

# Keys for --input: a press is held two frames.
press() { echo "$1 $2"; echo "$(($1 + 2))"; }
# A stage's play begins near frame 170, after its fade-in and ready.
{ echo "180 RIGHT"; echo "200 RIGHT Z"; echo "215 RIGHT X"; echo "230 LEFT"; echo "245 Z"; } >"$WORK/keys/stage.txt"
{ press 40 DOWN; press 50 Z; press 60 Z; press 90 RIGHT; } >"$WORK/keys/continue.txt"
{ press 40 DOWN; press 44 DOWN; press 48 Z; press 100 DOWN; press 104 DOWN; press 110 C; press 130 C; } >"$WORK/keys/challenge.txt"
{ for f in 40 44 48 52; do press $f DOWN; done; press 56 Z; press 100 DOWN; press 130 X; } >"$WORK/keys/options.txt"
{ press 40 Z; press 110 UP; press 120 RIGHT; press 130 X; } >"$WORK/keys/map.txt"

# The game with the player's own files, made by plays of the undamaged game.
base="$WORK/base"
"$BUILD/tools/make_sample_game" "$base" >/dev/null
prepare() {
  XDG_RUNTIME_DIR="$WORK/runs" "$BUILD/player" -C "$base" --headless --seed 7 "$@" >/dev/null 2>&1
}
{ press 40 Z; press 160 X; press 230 Z; press 240 Z; press 250 UP; press 260 Z; press 270 X; } >"$WORK/keys/save.txt"
{ press 40 DOWN; press 44 DOWN; press 48 Z; press 112 DOWN; press 116 DOWN; press 120 Z
  echo "300 RIGHT"; echo 680; press 700 F3; press 760 Z; press 800 Z; press 920 X; } >"$WORK/keys/clear.txt"
prepare --frames 200 --input "$WORK/keys/options.txt"
prepare --frames 340 --input "$WORK/keys/save.txt"
prepare --frames 1000 --input "$WORK/keys/clear.txt" --answer name-entry=type:ABC
cp "$root"/tests/replays/*.rpl4_556 "$base/user_data/rpl4/"
# The launcher, answered with DirectDraw and "don't show", writes Boot.dat.
sed -i 's/^Direct3D=1/Direct3D=2/' "$base/System.ini"
prepare --frames 10 --answer launcher=click:1003,click:1004
sed -i 's/^Direct3D=2/Direct3D=1/' "$base/System.ini"
# The player only reads KeyConfig.dat (the kit's key tool writes it): here the fixed layout (arrows,
# Z X C V A S D F on the keyboard, device 8) marked as the one to use; then the three counts.
{
  for code in 25 27 26 28 5A 58 43 56 41 53 44 46; do printf '\x08\x00\x00\x00\x'"$code"'\x00\x00\x00'; done
  printf '\x0C\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00'
} >"$base/user_data/KeyConfig.dat"
rm -f "$base/Report_Game.txt" "$WORK/runs"/*
for made in user_data/Boot.dat user_data/Option.dat user_data/story/Story01.dat user_data/challenge/Challenge.dat user_data/challenge/c03.rkg; do
  [[ -f $base/$made ]] || { echo "mutation_runs: the preparing plays did not write $made" >&2; exit 2; }
done
echo $(grep -v '^#' "$root/tests/replays/stages") >"$WORK/stages.txt"

# The runs: ID FILE MODE SEED, one a line.
n=0
files=0
while read -r file; do
  files=$((files + 1))
  modes="title stage"
  case $file in
    user_data/rpl4/*) modes+=" replay" ;;
    user_data/story/*) modes+=" continue" ;;
    user_data/challenge/*) modes+=" challenge" ;;
    user_data/Option.dat) modes+=" options" ;;
    user_data/Boot.dat) modes+=" boot" ;;
    */WorldMap.dat | bmp/World* | bgm/WorldMap.mid) modes+=" map" ;;
  esac
  for ((k = 0; k < mutations; k++)); do
    seed=$((seed0 * 1000003 + files * 1000 + k))
    for mode in $modes; do
      n=$((n + 1))
      printf '%06d %s %s %s\n' "$n" "$file" "$mode" "$seed"
    done
  done
done < <(cd "$base" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | grep -E -- "$filter") >"$WORK/runs.txt"

echo "mutation_runs: $files files, $n runs, $jobs at once, $TIME_LIMIT s each at most ($BUILD)"
start=$SECONDS
xargs -P "$jobs" -L 1 "$self" --run-one <"$WORK/runs.txt"

cat "$WORK"/results/* >"$WORK/results.txt"
clean=$(grep -c '^clean' "$WORK/results.txt" || true)
boxed=$(grep -c '^box' "$WORK/results.txt" || true)
failed=$(grep -c '^fail' "$WORK/results.txt" || true)
done_runs=$(wc -l <"$WORK/results.txt")
# Something written into the sandboxes' own folder would escape every run's search.
strays=$(find "$WORK/runs" -mindepth 1 -maxdepth 1 | head -5)
if [[ -n $strays ]]; then
  echo "mutation_runs: written outside every game folder: $strays"
  failed=$((failed + 1))
fi
grep '^fail' "$WORK/results.txt" | cut -f2- | head -50 || true
kept=""
((failed == 0)) || kept=" (kept in $FAILURES)"
echo "mutation_runs: $done_runs runs over $files files in $((SECONDS - start)) s: $clean clean exits," \
  "$boxed error boxes, $failed failures$kept"
((done_runs == n)) || { echo "mutation_runs: $((n - done_runs)) runs gave no result" >&2; exit 1; }
((failed == 0))
