#!/usr/bin/env bash
# Takes the README's screenshot of the main window under Xvfb:
# docs/screenshots/main-window.png. Needs the packages xvfb and x11-apps.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dump="$(mktemp)"
trap 'rm -f "$dump"' EXIT
export TALVO_ROOT="$root" TALVO_DUMP="$dump"
xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" bash -c '
  "$TALVO_ROOT/build/talvo" & pid=$!
  sleep 2
  xwd -name "TALVO 3.1.1" -silent > "$TALVO_DUMP"
  kill "$pid"'
mkdir -p "$root/docs/screenshots"
python3 "$root/scripts/xwd_to_png.py" "$dump" "$root/docs/screenshots/main-window.png"
echo "docs/screenshots/main-window.png"
