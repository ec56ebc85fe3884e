# Helpers shared by the shell benchmarks; sourced first, with the benchmark's own arguments
# ([path/to/trovecart-cli] [runs]). Sets cli, runs and a work folder removed at exit.
cli=${1:-build/src/app/trovecart-cli}
runs=${2:-3}
# Printed first, so that a figure measured on a busy machine shows as such.
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg) (1, 5, 15 min)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 30 s 1280x720 25 fps clip with stereo sound, as a camera or screen recorder would give it.
make_source_clip() { # output file
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=30" -ac 2 \
        -c:v libx264 -preset veryfast -b:v 2000k -c:a aac -b:a 128k -shortest "$1"
}

seconds() { # command... ; prints the wall time in seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
