#!/usr/bin/env bash
# Preview conversions: trovecart-cli convert against the ffmpeg program with the same settings,
# on a 30 s 1280x720 25 fps clip with stereo audio, and import-media of the same clip into a
# project's video product. Prints the median time of each, their ratio, the median of each run's
# own ratio (the two commands run one after the other, each first in every other pair, and this
# machine's speed drifts between two levels over seconds), and the ratio of the output sizes.
# Usage: bench/convert_bench.sh [path/to/trovecart-cli] [runs]
set -euo pipefail
# shellcheck source=bench/bench_lib.sh
source "$(dirname "$0")/bench_lib.sh"

make_source_clip "$work/source.mp4"
video_rate=$(ffprobe -v error -select_streams v:0 -show_entries stream=bit_rate -of csv=p=0 "$work/source.mp4")

bench() { # name, our command, peer command, our output, peer output
    local name=$1 ours=$2 peer=$3 ours_out=$4 peer_out=$5
    local ours_times=() peer_times=() ratios=() ours_time peer_time
    for run in $(seq "$runs"); do
        rm -f "$ours_out" "$peer_out"
        # Each tool goes first in every other pair: a run's time depends on what ran just before it.
        if [ $((run % 2)) -eq 1 ]; then
            ours_time=$(seconds bash -c "$ours")
            peer_time=$(seconds bash -c "$peer")
        else
            peer_time=$(seconds bash -c "$peer")
            ours_time=$(seconds bash -c "$ours")
        fi
        ours_times+=("$ours_time")
        peer_times+=("$peer_time")
        ratios+=("$(echo "$ours_time / $peer_time" | bc -l)")
    done
    local ours_median peer_median ours_size peer_size
    ours_median=$(printf '%s\n' "${ours_times[@]}" | median)
    peer_median=$(printf '%s\n' "${peer_times[@]}" | median)
    # import-media's output is a whole project: its size compares with nothing.
    [ "$name" = "import-media" ] && ours_out=$peer_out
    ours_size=$(stat -c %s "$ours_out")
    peer_size=$(stat -c %s "$peer_out")
    printf '%-12s trovecart %6.2f s  ffmpeg %6.2f s  time ratio %.3f  paired %.3f  size ratio %.3f\n' \
        "$name" "$ours_median" "$peer_median" "$(echo "$ours_median / $peer_median" | bc -l)" \
        "$(printf '%s\n' "${ratios[@]}" | median)" "$(echo "$ours_size / $peer_size" | bc -l)"
}

bench "FLV preview" \
    "$cli convert '$work/source.mp4' --video '$work/ours.flv'" \
    "ffmpeg -y -i '$work/source.mp4' -c:v flv -b:v $video_rate -c:a libmp3lame -ar 22050 -ac 2 '$work/peer.flv'" \
    "$work/ours.flv" "$work/peer.flv"
bench "MP3 preview" \
    "$cli convert '$work/source.mp4' --audio '$work/ours.mp3'" \
    "ffmpeg -y -i '$work/source.mp4' -vn -c:a libmp3lame -ac 2 '$work/peer.mp3'" \
    "$work/ours.mp3" "$work/peer.mp3"

export XDG_DATA_HOME="$work/data"
"$cli" new ClassicBlue "$work/demo.scp" >/dev/null
# A video import makes the FLV preview and its MP4 web copy in one pass; so does the peer.
bench "import-media" \
    "cp '$work/demo.scp' '$work/run.scp' && $cli import-media '$work/run.scp' --product 'Video/Screen printing workshop' '$work/source.mp4'" \
    "ffmpeg -y -i '$work/source.mp4' -c:v flv -b:v $video_rate -c:a libmp3lame -ar 22050 -ac 2 '$work/peer.flv' -c:v libx264 -pix_fmt yuv420p -c:a aac -ar 22050 -movflags +faststart '$work/peer.mp4'" \
    "$work/run.scp" "$work/peer.flv"
