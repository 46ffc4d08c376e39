#!/usr/bin/env bash
# Renders all ten styles at a few percentages, with text, in both orientations, into one
# picture. Needs a Qt build of progressbar-render and ImageMagick's convert.
#   usage: progressbar/make_gallery.sh BUILD_DIR/bin/progressbar-render [OUT.png]
set -euo pipefail

render=${1:?usage: make_gallery.sh PATH/TO/progressbar-render [OUT.png]}
out=${2:-docs/progressbar-gallery.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

names=(Segmented Smooth Searching Flat Etched Shaded Dark Hatched Picture Glossy)
percents=(0 2 50 99 100)

# An 8 x 8 tile for the picture style: two blues in a diagonal weave.
{
    printf 'P6\n8 8\n255\n'
    for y in 0 1 2 3 4 5 6 7; do
        for x in 0 1 2 3 4 5 6 7; do
            if (((x + y) % 4 < 2)); then printf '\x30\x60\xC0'; else printf '\xA0\xC0\xF0'; fi
        done
    done
} >"$work/tile.ppm"

label() { # label FILE WIDTH HEIGHT TEXT
    convert -size "$2x$3" xc:white -font DejaVu-Sans -pointsize 12 -fill black -gravity west \
        -annotate +4+0 "${4//%/%%}" "$1"
}

bar() { # bar FILE STYLE ARGS...
    local file=$1 style=$2
    shift 2
    "$render" --scrolling "$style" --image "$work/tile.ppm" --brush-style 5 "$@" "$file"
}

# Horizontal: one row per style, then a header row of percentages.
label "$work/corner.png" 110 20 "Scrolling"
headers=("$work/corner.png")
for p in "${percents[@]}"; do
    label "$work/head-$p.png" 240 20 "$p %"
    headers+=("$work/head-$p.png")
done
label "$work/head-text.png" 240 20 "57 % with text"
headers+=("$work/head-text.png")
convert "${headers[@]}" -bordercolor white -border 3 +append "$work/row-head.png"
rows=("$work/row-head.png")
for s in "${!names[@]}"; do
    cells=()
    label "$work/name-$s.png" 110 25 "$s ${names[$s]}"
    cells+=("$work/name-$s.png")
    for p in "${percents[@]}"; do
        bar "$work/h-$s-$p.png" "$s" --width 240 --value "$p"
        cells+=("$work/h-$s-$p.png")
    done
    bar "$work/h-$s-text.png" "$s" --width 240 --value 57 --show-text
    cells+=("$work/h-$s-text.png")
    convert "${cells[@]}" -bordercolor white -border 3 +append "$work/row-$s.png"
    rows+=("$work/row-$s.png")
done
convert "${rows[@]}" -append "$work/horizontal.png"

# Vertical: every style at 0, 50 and 100 %, filling from the bottom.
columns=()
for s in "${!names[@]}"; do
    cells=()
    for p in 0 50 100; do
        bar "$work/v-$s-$p.png" "$s" --orientation 1 --width 30 --height 120 --value "$p"
        cells+=("$work/v-$s-$p.png")
    done
    convert "${cells[@]}" -bordercolor white -border 3 +append "$work/vbars-$s.png"
    label "$work/vname-$s.png" 108 20 "$s ${names[$s]}"
    convert "$work/vbars-$s.png" "$work/vname-$s.png" -gravity center -append "$work/vcol-$s.png"
    columns+=("$work/vcol-$s.png")
done
label "$work/vtitle.png" 400 24 "Vertical (Orientation 1) at 0, 50 and 100 %"
convert "${columns[@]}" -bordercolor white -border 6 +append "$work/vertical-row.png"
convert "$work/vtitle.png" "$work/vertical-row.png" -gravity west -append "$work/vertical.png"

mkdir -p "$(dirname "$out")"
convert "$work/horizontal.png" "$work/vertical.png" -background white -gravity west -append \
    -bordercolor white -border 8 +repage "$out"
echo "wrote $out"
