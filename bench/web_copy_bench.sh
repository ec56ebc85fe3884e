#!/usr/bin/env bash
# Video web copies: trovecart-cli build making the missing MP4 web copy of a 30 s 1280x720 25 fps
# video preview, against the ffmpeg program making the same file from the same FLV with the same
# settings (H.264 and AAC at the encoders' defaults, 4:2:0, index first). Prints the median time of
# each, their ratio, and the ratio of the output sizes.
# Usage: bench/web_copy_bench.sh [path/to/trovecart-cli] [runs]
set -euo pipefail
# shellcheck source=bench/bench_lib.sh
source "$(dirname "$0")/bench_lib.sh"
export XDG_DATA_HOME="$work/data"

make_source_clip "$work/source.mp4"

# A project whose video product has its FLV preview but, like projects saved before web copies
# were made, no web copy.
"$cli" new ClassicBlue "$work/demo.scp" >/dev/null
preview=$("$cli" import-media "$work/demo.scp" --product 'Video/Screen printing workshop' "$work/source.mp4")
web_copy="preview/${preview%.flv}.mp4"
zip -q -d "$work/demo.scp" "$web_copy"
unzip -q "$work/demo.scp" "preview/$preview" -d "$work"
sample_rate=$(ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate -of csv=p=0 \
    "$work/preview/$preview")


ours_out="$work/site/shoppingcart/$web_copy"
peer_out="$work/peer.mp4"
ours_times=()
peer_times=()
for _ in $(seq "$runs"); do
    rm -rf "$work/site" "$peer_out"
    ours_times+=("$(seconds "$cli" build "$work/demo.scp" "$work/site")")
    peer_times+=("$(seconds ffmpeg -y -i "$work/preview/$preview" -c:v libx264 -pix_fmt yuv420p \
        -c:a aac -ar "$sample_rate" -movflags +faststart "$peer_out")")
done
ours_median=$(printf '%s\n' "${ours_times[@]}" | median)
peer_median=$(printf '%s\n' "${peer_times[@]}" | median)
printf '%-9s trovecart %6.2f s  ffmpeg %6.2f s  time ratio %.3f  size ratio %.3f\n' "web copy" \
    "$ours_median" "$peer_median" "$(echo "$ours_median / $peer_median" | bc -l)" \
    "$(echo "$(stat -c %s "$ours_out") / $(stat -c %s "$peer_out")" | bc -l)"
