#!/usr/bin/env bash
# Writes the seed corpora of the fuzz targets into fuzz/seeds/TARGET/: small valid files of the
# sample game (written by the normal build's generator), the player's own files (written by the fuzz
# build's seed_writer) and a few texts. Run again after a change of a file format; commit the result.
#   BUILD=build FUZZ_BUILD=build-fuzz bash fuzz/make_seeds.sh
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
FUZZ_BUILD=${FUZZ_BUILD:-build-fuzz}
seeds=fuzz/seeds
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$BUILD/tools/make_sample_game" "$work/game" > /dev/null
"$FUZZ_BUILD/fuzz/seed_writer" "$work/game"
g="$work/game"

rm -rf "$seeds"
put() {  # put TARGET FILE...
  local target=$1
  shift
  mkdir -p "$seeds/$target"
  for f in "$@"; do cp "$f" "$seeds/$target/"; done
}
text() {  # text TARGET NAME CONTENT
  mkdir -p "$seeds/$1"
  printf '%s' "$3" > "$seeds/$1/$2"
}

for table in anime_set:AnimeSet anime:Anime chara_bitmaps:Bmp_CharaExc sword_type:SwordType effect:Effect \
             chara_effect:CharaEffect scr_effect:ScrEffect picture:Picture sound:Sound bgm:Bgm; do
  put "db_${table%%:*}" "$g/data/database/${table#*:}.dat"
done
put system_data "$g/data/System.dat"
put system_ini "$g/System.ini"
put common_palette "$g/data/CommonPalette.cplt4"
put world_map "$g/data/WorldMap.dat"
put stage "$g/data/stg4/fall.stg4"
put replay tests/replays/fall.rpl4_556
put save "$g/user_data/story/Story01.dat"
put option "$g/user_data/Option.dat"
put boot "$g/user_data/Boot.dat"
put ranking "$g/user_data/challenge/c01-1.rkg"
put key_config "$g/user_data/KeyConfig.dat"
put bmp "$g/bmp/Debug.bmp" "$g/bmp/SwordL.bmp" "$g/bmp/plt/Palette.bmp"
put wave "$g/wave/Cursor.wav" "$g/wave/Switch.wav"
put midi_file "$g/bgm/Castle.mid" "$g/bgm/Title.mid"
# The headers and first pages of the sample's tune: the headers are what is read.
mkdir -p "$seeds/ogg"
head -c 8192 "$g/bgm/Challenge.ogg" > "$seeds/ogg/Challenge_head.ogg"
text code arith 'C1 = 3 + 4 * 2 - (7 % 3)'
text code fields 'tg.hp = my.hp / 2 + rand(1, 6)'
text code system 'sys.life = life + pl.time - scrlx * score'
text code vars 'S12 = C1 = v3 = -1234567'
text message_text codes '#C5 and #S12_3Z. and #c1_P. score'
text message_text lines $'line one\r\nline two #C255_9ZP.'
text input_script keys $'0\n30 RIGHT\n45 RIGHT Z\n60 joy0=0,32768,0x1\n90 # end\n'
echo "seeds written to $seeds"
