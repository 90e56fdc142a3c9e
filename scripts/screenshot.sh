#!/usr/bin/env bash
# Takes docs/screenshot.png: the window after 例文二 and 开始摘要, on a virtual X display (Xvfb).
# Usage: scripts/screenshot.sh [BUILD_DIR] [OUTPUT]   (defaults: build, docs/screenshot.png)
set -euo pipefail

cd "$(dirname "$0")/.."
build_dir="${1:-build}"
output="${2:-docs/screenshot.png}"
gui="$build_dir/sumvelo-gui"
if [ ! -x "$gui" ]; then
  echo "screenshot: $gui not found; build first (bash scripts/build.sh)" >&2
  exit 1
fi
for tool in xvfb-run convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshot: $tool is missing; run scripts/setup.sh" >&2
    exit 1
  fi
done

mkdir -p "$(dirname "$output")"
raw="$(mktemp --suffix=.png)"
trap 'rm -f "$raw"' EXIT

# xvfb-run picks a free display, starts Xvfb on it and stops it when the window has quit.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  "$gui" --demo=two --screenshot="$raw"

# Fewer colours and full compression keep the picture small; text stays sharp.
convert "$raw" -strip -colors 64 -define png:compression-level=9 "$output"
echo "screenshot: $output ($(identify -format '%wx%h' "$output"), $(stat -c %s "$output") bytes)"
