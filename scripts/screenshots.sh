#!/usr/bin/env bash
# Takes screenshots of the desktop program under a virtual X server: the wizard's two pages, the main window
# with a project open, its shop preview showing the storefront's video product, the shop settings page, and the product and category frames at 1024 x 700, at full
# screen (1920 x 1080) and with a large font; a video product playing, the media import and conversion
# dialogs; the settings page at 800 x 600, a message box and the wizard's template grid; the publishing
# dialogs against a loopback FTP server; then of the web storefront in headless Chromium.
# Usage: scripts/screenshots.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/screenshots}")

bash scripts/setup.sh
for tool in import xdotool; do
    command -v "$tool" >/dev/null || apt-get install -y -qq imagemagick xdotool >/dev/null
done
cmake --preset default >/dev/null
cmake --build --preset default --target trovecart trovecart-cli tc_frame_screenshots \
    tc_publish_screenshots

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
mkdir -p "$out"
build/src/app/trovecart-cli new ClassicBlue "$work/demo.scp" >/dev/null
# A 720p film with sound for the storefront's video product, the media frame and the import and
# conversion dialogs.
ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=30 -f lavfi -i sine=frequency=440:duration=30 \
    -c:v libx264 -preset ultrafast -c:a aac -shortest "$work/film.mp4"
build/src/app/trovecart-cli import-media "$work/demo.scp" --product "Video/Screen printing workshop" \
    --end 5000000 --snapshot-at 1000000 "$work/film.mp4" >/dev/null

cat > "$work/session.sh" <<SESSION
#!/usr/bin/env bash
set -u
shoot() { import -window root "\$1"; }
build/src/app/trovecart &
pid=\$!
sleep 6; shoot "$out/wizard.png"
# "Create a new shopping cart", then the first template.
xdotool mousemove 820 358 click 1
sleep 1; xdotool mousemove 350 270 click 1
sleep 1; shoot "$out/wizard-templates.png"
kill \$pid; wait \$pid 2>/dev/null
build/src/app/trovecart "$work/demo.scp" &
pid=\$!
sleep 10; shoot "$out/main-window.png"
# The storefront's "Video" category in the shop preview, then its product.
xdotool mousemove 645 344 click 1
sleep 2; xdotool mousemove 508 480 click 1
sleep 4; shoot "$out/shop-preview-video.png"
# The "Shop Setting" toolbar button of the centred 1000 x 700 window.
xdotool mousemove 781 150 click 1
sleep 2; shoot "$out/shop-settings.png"
kill \$pid; wait \$pid 2>/dev/null
exit 0
SESSION
chmod +x "$work/session.sh"
xvfb-run -a -s "-screen 0 1280x900x24" "$work/session.sh"
xvfb-run -a -s "-screen 0 1920x1080x24" build/tests/gui/screenshots/tc_frame_screenshots "$out" "$work/film.mp4" >/dev/null
xvfb-run -a -s "-screen 0 1280x900x24" build/tests/gui/screenshots/tc_publish_screenshots "$out" >/dev/null
python3 scripts/storefront_screenshots.py "$out" >/dev/null
echo "Screenshots in $out"
