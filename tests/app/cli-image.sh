#!/usr/bin/env bash
# orvo image info / convert / thumb on a small picture kept with the tests.
set -u
orvo=$1
src=$2
sample=$src/tests/data/image/sample-24.bmp
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1"; echo "  expected: $(printf %q "$3")"; echo "  got:      $(printf %q "$2")"; fail=1; fi; }
field() { "$orvo" image info "$1" | sed -n "s/^$2: //p"; }

check "info" "$("$orvo" image info "$sample")" $'format: BMP\nwidth: 12\nheight: 7\nbits: 24\ndpi: 72 72\ngrey: FALSE\nframes: 0\nstored bits: 24\ncompression: none\nalpha: FALSE'

# 32-bit BMPs (any channel masks) and LZW TIFFs open; the picture holds 24 or fewer bits.
check "32-bit bmp" "$("$orvo" image info "$src/tests/data/image/bitfields/a2r10g10b10-v5.bmp" | head -4 | tr '\n' ' ')" "format: BMP width: 8 height: 4 bits: 24 "
check "lzw tiff" "$("$orvo" image info "$src/tests/data/image/lzw/rgb.tif" | head -4 | tr '\n' ' ')" "format: TIFF width: 8 height: 4 bits: 24 "
check "lzw palette tiff" "$(field "$src/tests/data/image/lzw/palette.tif" bits)" "8"
# ... while the file's own layout is told as it is stored.
stored() { "$orvo" image info "$1" | sed -n '8,10p' | tr '\n' ' '; }
check "32-bit bmp stored" "$(stored "$src/tests/data/image/bitfields/a2r10g10b10-v5.bmp")" "stored bits: 32 compression: bit fields alpha: TRUE "
check "xrgb bmp stored" "$(stored "$src/tests/data/image/bitfields/xrgb-uncompressed.bmp")" "stored bits: 32 compression: none alpha: FALSE "
check "lzw rgba tiff stored" "$(stored "$src/tests/data/image/lzw/rgba.tif")" "stored bits: 32 compression: LZW alpha: TRUE "
check "lzw grey tiff stored" "$(stored "$src/tests/data/image/lzw/grey.tif")" "stored bits: 8 compression: LZW alpha: FALSE "
check "jpeg has no stored lines" "$("$orvo" image info "$src/tests/data/image/orientation/o6.jpg" | wc -l)" "7"

# The format comes from the output's extension; a JPEG named .bmp still opens as JPEG.
"$orvo" image convert "$sample" "$tmp/photo.jpg" --quality 90 || { echo "FAIL convert to jpg"; fail=1; }
cp "$tmp/photo.jpg" "$tmp/photo.bmp"
check "jpeg under a bmp name" "$(field "$tmp/photo.bmp" format)" "JPEG"

# The adjust flag takes a 24-bit picture down to 8 bits for GIF.
"$orvo" image convert "$sample" "$tmp/a.gif" || { echo "FAIL convert to gif"; fail=1; }
check "gif depth" "$(field "$tmp/a.gif" bits)" "8"
check "gif frames" "$(field "$tmp/a.gif" frames)" "1"

"$orvo" image convert "$sample" "$tmp/b.tif" --bits 1 --size 24x14 || { echo "FAIL convert to tif"; fail=1; }
check "resized bilevel tiff" "$("$orvo" image info "$tmp/b.tif" | head -4 | tr '\n' ' ')" "format: TIFF width: 24 height: 14 bits: 1 "

if "$orvo" image convert "$sample" "$tmp/big.ico" --size 256x256 2>"$tmp/err"; then echo "FAIL 256 x 256 icon accepted"; fail=1; fi
grep -q "Can't save this image as icon" "$tmp/err" || { echo "FAIL icon message: $(cat "$tmp/err")"; fail=1; }
[ -e "$tmp/big.ico" ] && { echo "FAIL icon written"; fail=1; }

# A file that is no picture: a message with the reason, nothing on stdout.
printf 'plain text\n' >"$tmp/notes.png"
out=$("$orvo" image info "$tmp/notes.png" 2>"$tmp/err") && { echo "FAIL text accepted"; fail=1; }
check "no output for a failed load" "$out" ""
grep -q "Error reading PNG file" "$tmp/err" || { echo "FAIL load message: $(cat "$tmp/err")"; fail=1; }

mkdir "$tmp/thumbs"
"$orvo" image thumb --size 16 --out "$tmp/thumbs" "$sample" "$tmp/photo.jpg" "$tmp/notes.png" 2>"$tmp/err" \
    && { echo "FAIL thumb status ignores a failed input"; fail=1; }
check "thumbnails made" "$(ls "$tmp/thumbs" | tr '\n' ' ')" "photo.jpg.png sample-24.bmp.png "
check "thumbnail cell" "$("$orvo" image info "$tmp/thumbs/photo.jpg.png" | sed -n '2,4p' | tr '\n' ' ')" "width: 16 height: 16 bits: 24 "
grep -q "notes.png" "$tmp/err" || { echo "FAIL no message for the failed thumbnail"; fail=1; }

# A photo whose camera tag says "turned right": shown and thumbnailed upright.
turned=$src/tests/data/image/orientation/o6.jpg
check "turned size" "$("$orvo" image info "$turned" | sed -n '2,3p' | tr '\n' ' ')" "width: 8 height: 16 "
mkdir "$tmp/turned"
"$orvo" image thumb "$turned" --out "$tmp/turned" --size=16 || { echo "FAIL turned thumb"; fail=1; }
"$orvo" image convert "$tmp/turned/o6.jpg.png" "$tmp/turned.bmp" || { echo "FAIL thumb to bmp"; fail=1; }
# Row 2 from the top, column 6 of the 16 x 16 cell: the green corner, not the white field
# a wide, unturned picture would leave there.
green=$(od -An -tu1 -j $((54 + 13 * 48 + 6 * 3)) -N3 "$tmp/turned.bmp" | awk '{print ($1 < 40 && $2 > 200 && $3 < 40) ? "green" : $0}')
check "turned thumb" "$green" "green"

[ $fail -eq 0 ] && echo "cli image: all checks passed"
exit $fail
