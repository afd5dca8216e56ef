#!/usr/bin/env bash
# Draws a busy desktop-like picture with ImageMagick, the same every time for a size:
# a gradient wallpaper, two windows of text on flat panels, a noisy photo-like area
# and a taskbar. Usage: desktop_picture.sh WIDTH HEIGHT OUT.ppm (8-bit binary PPM).
set -euo pipefail
w=$1 h=$2 out=$3
s=$((h * 100 / 1080)) # scale in hundredths, so text and chrome grow with the screen
px() { echo $(($1 * s / 100)); }

# Left window: document text; right window: code; photo in between; taskbar at bottom.
lx=$((w * 3 / 100)) ly=$((h * 6 / 100)) lw=$((w * 38 / 100)) lh=$((h * 80 / 100))
rx=$((w * 55 / 100)) ry=$((h * 4 / 100)) rw=$((w * 42 / 100)) rh=$((h * 60 / 100))
photo_w=$((w * 40 / 100)) photo_h=$((h * 30 / 100)) photo_x=$((w * 45 / 100)) photo_y=$((h * 62 / 100))
title=$(px 28) bar=$(px 40)

# As many lines as the windows hold. Passed inline: ImageMagick's policy here refuses
# to read text from @files.
line=$(px 17)
text=$(for i in $(seq 1 $(((lh - title - line) / line))); do
  echo "$i. The quick brown fox jumps over the lazy dog; pack my box with five dozen liquor jugs."
done)
code=$(for i in $(seq 1 $(((rh - title - line) / line))); do
  printf '%03d  for (size_t row = 0; row < height; ++row) total += checksum(pixels + row * %d);\n' \
    "$i" "$((i * 7680))"
done)

convert -seed 1234 -size "${w}x${h}" gradient:'#1d3b63-#6a9fd4' \
  \( -size "${photo_w}x${photo_h}" plasma:'#2e6b2e-#d8b86a' -blur 0x2 -attenuate 0.6 +noise Gaussian \) \
  -geometry "+${photo_x}+${photo_y}" -composite \
  -fill '#3c3c3c' -draw "rectangle $lx,$ly $((lx + lw)),$((ly + title))" \
  -fill '#f4f4f4' -draw "rectangle $lx,$((ly + title)) $((lx + lw)),$((ly + lh))" \
  -fill white -font DejaVu-Sans -pointsize "$(px 14)" -annotate "+$((lx + 10))+$((ly + title * 3 / 4))" "Notes.txt - Editor" \
  -fill '#1a1a1a' -font DejaVu-Sans -pointsize "$(px 12)" -interline-spacing 2 \
  -annotate "+$((lx + 12))+$((ly + title + $(px 18)))" "$text" \
  -fill '#2b2b2b' -draw "rectangle $rx,$ry $((rx + rw)),$((ry + title))" \
  -fill '#1e1e1e' -draw "rectangle $rx,$((ry + title)) $((rx + rw)),$((ry + rh))" \
  -fill '#dcdcdc' -font DejaVu-Sans -pointsize "$(px 14)" -annotate "+$((rx + 10))+$((ry + title * 3 / 4))" "main.cpp - Code" \
  -fill '#9cdcfe' -font DejaVu-Sans-Mono -pointsize "$(px 12)" \
  -annotate "+$((rx + 12))+$((ry + title + $(px 18)))" "$code" \
  -fill '#202020' -draw "rectangle 0,$((h - bar)) $w,$h" \
  -fill '#3a78c8' -draw "rectangle $(px 6),$((h - bar + $(px 6))) $(px 34),$((h - $(px 6)))" \
  -fill white -font DejaVu-Sans -pointsize "$(px 14)" -annotate "+$((w - $(px 90)))+$((h - bar / 3))" "03:15 PM" \
  -depth 8 "$out"
