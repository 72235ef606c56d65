#!/bin/sh
# Batch conversion of 150 RAW version 2 scans of 32767 points to the analysis
# formats: one talvo-convert call writing xy, against xyconv -m (libxy-bin),
# which writes the same two columns, over the same files in the same run; then
# the same batch as xye and as powder CIF.
# Usage: bench/analysis_vs_xyconv.sh [path/to/talvo-convert]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert=${1:-$here/../build/talvo-convert}
count=${COUNT:-150}
points=${POINTS:-32767}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/xy" "$work/xye" "$work/cif" "$work/xyconv"
/usr/bin/python3 "$here/make_raw2_files.py" "$work/in" "$count" "$points"

# Wall-clock and CPU seconds of one command, from /usr/bin/time.
timed() {
  out=$1
  shift
  /usr/bin/time -f "%e %U %S" -o "$out" "$@" >/dev/null
}

cd "$work/in"
timed "$work/xy.time" "$convert" --from raw --to xy -o "$work/xy/*.xy" *.RAW
timed "$work/xyconv.time" xyconv -t bruker_raw -m "$work/xyconv" *.RAW
timed "$work/xye.time" "$convert" --from raw --to xye -o "$work/xye/*.xye" *.RAW
timed "$work/cif.time" "$convert" --from raw --to cif -o "$work/cif/*.cif" *.RAW

report() {
  read -r wall user sys <"$2"
  printf '%-26s %6.2f s wall, %6.2f s CPU (%s user, %s system; %s files, %s)\n' "$1" "$wall" \
    "$(echo "$user + $sys" | bc)" "$user" "$sys" "$(ls "$3" | wc -l)" "$(du -sh "$3" | cut -f1)"
}
echo "input: $count RAW version 2 scans of $points points ($(du -sh "$work/in" | cut -f1));" \
  "$(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
report "talvo-convert --to xy" "$work/xy.time" "$work/xy"
report "xyconv -m" "$work/xyconv.time" "$work/xyconv"
report "talvo-convert --to xye" "$work/xye.time" "$work/xye"
report "talvo-convert --to cif" "$work/cif.time" "$work/cif"
read -r t_wall t_user t_sys <"$work/xy.time"
read -r x_wall x_user x_sys <"$work/xyconv.time"
echo "xyconv / talvo-convert --to xy: $(echo "scale=1; $x_wall / $t_wall" | bc) x wall," \
  "$(echo "scale=1; ($x_user + $x_sys) / ($t_user + $t_sys)" | bc) x CPU"
