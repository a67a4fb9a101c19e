#!/usr/bin/env bash
# PNG export and import of the same 1920 × 1080 pictures (24 and 8 bits,
# screenshot-like) by Quilleteer's codec, Pillow and ImageMagick's convert,
# in one run, with optipng -o1's size of our file beside. Pillow is timed
# inside Python (the save and the load alone); convert as a whole process,
# with its start-up on an empty picture printed apart. Milliseconds are
# medians of several runs.
#   bench/png_compare.sh BENCH_BUILD_FOLDER
set -euo pipefail
bin=$1/bin
work=$1/png
mkdir -p "$work"
ours=$("$bin/png_bench" "$work")
cd "$work"

median_ms() { # command...: the median wall time of 5 runs
  local i times=()
  for i in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | awk '{printf "%.1f", $1 / 1000}'
}

convert_start=$(median_ms convert -size 1x1 xc:black null:)
im24_export=$(median_ms convert screen24.ppm im-screen24.png)
im8_export=$(median_ms convert screen8.bmp im-screen8.png)
im24_import=$(median_ms convert im-screen24.png rgb:/dev/null)
im8_import=$(median_ms convert im-screen8.png rgb:/dev/null)
optipng -quiet -o1 -force -clobber -out opt-screen24.png ours-screen24.png
optipng -quiet -o1 -force -clobber -out opt-screen8.png ours-screen8.png

pillow=$(/usr/bin/python3 - <<'PY'
import statistics, time
from PIL import Image

def median_ms(work):
    times = []
    for _ in range(9):
        start = time.perf_counter()
        work()
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)

colour = Image.open('screen24.ppm')
colour.load()
indexed = Image.frombytes('P', colour.size, open('screen8.raw', 'rb').read())
indexed.putpalette(open('screen8.pal', 'rb').read())
for name, image in [('screen24', colour), ('screen8', indexed)]:
    out = 'pil-%s.png' % name
    export = median_ms(lambda: image.save(out))
    load = median_ms(lambda: Image.open(out).load())
    print(name, '%.1f' % export, '%.1f' % load)
PY
)

size() { stat -c %s "$1"; }
printf '\nPNG, 1920 x 1080: milliseconds (median) and bytes\n'
printf '%-9s %-12s %10s %10s %10s\n' picture program export import bytes
for name in screen24 screen8; do
  read -r _ _ _ our_export _ our_import _ our_bytes _ <<<"$(grep "^ours $name " <<<"$ours")"
  read -r _ pil_export pil_import <<<"$(grep "^$name " <<<"$pillow")"
  if [ "$name" = screen24 ]; then im_export=$im24_export im_import=$im24_import; else
    im_export=$im8_export im_import=$im8_import; fi
  printf '%-9s %-12s %10s %10s %10s\n' "$name" quilleteer "$our_export" "$our_import" "$our_bytes"
  printf '%-9s %-12s %10s %10s %10s\n' "$name" pillow "$pil_export" "$pil_import" "$(size "pil-$name.png")"
  printf '%-9s %-12s %10s %10s %10s\n' "$name" convert "$im_export" "$im_import" "$(size "im-$name.png")"
  printf '%-9s %-12s %10s %10s %10s\n' "$name" "optipng -o1" - - "$(size "opt-$name.png")"
done
printf 'convert starts and ends in %s ms (in its figures above)\n' "$convert_start"
grep -q ROUND-TRIP-DIFFERS <<<"$ours" && { echo "png_bench: a round trip changed the picture" >&2; exit 1; }
exit 0
