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

# Wall-clock and CPU seconds of one command, from /usr/bin/time.
timed() {
  out=$1
  shift
  /usr/bin/time -f "%e %U %S" -o "$out" "$@" >/dev/null
}

cd "$work/in"
timed "$work/talvo.time" "$convert" --from raw --to text-raw -o "$work/talvo/*.txt" *.RAW
timed "$work/xyconv.time" xyconv -t bruker_raw -m "$work/xyconv" *.RAW

report() {
  read -r wall user sys <"$2"
  printf '%-28s %6.2f s wall, %6.2f s CPU (%s files, %s)\n' "$1" "$wall" "$(echo "$user + $sys" | bc)" \
    "$(ls "$3" | wc -l)" "$(du -sh "$3" | cut -f1)"
}
echo "input: $count RAW version 2 scans of $points points ($(du -sh "$work/in" | cut -f1)); $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
report "talvo-convert --to text-raw" "$work/talvo.time" "$work/talvo"
report "xyconv -m" "$work/xyconv.time" "$work/xyconv"
read -r t_wall t_user t_sys <"$work/talvo.time"
read -r x_wall x_user x_sys <"$work/xyconv.time"
echo "xyconv / talvo-convert: $(echo "scale=1; $x_wall / $t_wall" | bc) x wall, $(echo "scale=1; ($x_user + $x_sys) / ($t_user + $t_sys)" | bc) x CPU"
