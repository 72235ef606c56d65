#!/bin/sh
# Batch conversion of 200 RAW version 2 scans of 32767 points to text: one
# talvo-convert call to formatted text against xyconv -m (libxy-bin) over the
# same files. Usage: bench/batch_vs_xyconv.sh [path/to/talvo-convert]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert=${1:-$here/../build/talvo-convert}
count=${COUNT:-200}
points=${POINTS:-32767}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/talvo" "$work/xyconv"
python3 "$here/make_raw2_files.py" "$work/in" "$count" "$points"

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

cd "$work/in"
start=$(now)
"$convert" --from raw --to text-raw -o "$work/talvo/*.txt" *.RAW
talvo=$(elapsed "$start" "$(now)")

start=$(now)
xyconv -t bruker_raw -m "$work/xyconv" *.RAW
xy=$(elapsed "$start" "$(now)")

echo "files: $count RAW version 2 scans of $points points ($(du -sh "$work/in" | cut -f1))"
echo "talvo-convert --to text-raw: ${talvo} s ($(ls "$work/talvo" | wc -l) files, $(du -sh "$work/talvo" | cut -f1))"
echo "xyconv -m:                   ${xy} s ($(ls "$work/xyconv" | wc -l) files, $(du -sh "$work/xyconv" | cut -f1))"
echo "ratio xyconv / talvo: $(echo "scale=2; $xy / $talvo" | bc)"
