#!/usr/bin/env bash
# Installs what is missing, builds Talvo, and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
talvo_install
talvo_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -x "$TALVO_ROOT/build/talvo" ]; then
  exec "$TALVO_ROOT/build/talvo"
fi
# Without the desktop program, show a conversion of the shipped sample.
out="$TALVO_ROOT/build/quartz-copy.raw"
"$TALVO_ROOT/build/talvo-convert" --from raw --to raw2 -o "$out" "$TALVO_ROOT/samples/quartz.raw"
echo "Converted samples/quartz.raw to RAW version 2: $out"
