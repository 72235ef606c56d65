#!/usr/bin/env bash
# Installs what is missing, builds Talvo, and starts the desktop program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
talvo_install
talvo_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: start Talvo from a desktop session, or under xvfb-run." >&2
fi
exec "$TALVO_ROOT/build/talvo"
