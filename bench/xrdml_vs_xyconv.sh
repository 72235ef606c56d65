#!/bin/sh
# XRDML: a batch of 150 scans of 32767 points converted to formatted text by
# one talvo-convert call, against xyconv -m (libxy-bin) over the same files;
# then the peak memory of reading one scan of 1 000 000 points (its
# conversion to a system output stops at the 32 767-point limit, after the
# read). Usage: bench/xrdml_vs_xyconv.sh [path/to/talvo-convert]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert=$(realpath "${1:-$here/../build/talvo-convert}")
count=${COUNT:-150}
points=${POINTS:-32767}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/talvo" "$work/xyconv" "$work/long"
/usr/bin/python3 "$here/make_xrdml_files.py" "$work/in" "$count" "$points"
/usr/bin/python3 "$here/make_xrdml_files.py" "$work/long" 1 1000000

# Wall-clock and CPU seconds, and the peak resident set in KiB, from /usr/bin/time.
timed() {
  out=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$out.all" "$@" >/dev/null 2>"$out.err" || true
  tail -n 1 "$out.all" >"$out"
}

cd "$work/in"
timed "$work/talvo.time" "$convert" --from xrdml --to text-raw -o "$work/talvo/*.txt" *.xrdml
timed "$work/xyconv.time" xyconv -t xrdml -m "$work/xyconv" *.xrdml
timed "$work/long.time" "$convert" --from xrdml --to text-raw -o "$work/long.txt" "$work/long/S000.xrdml"

report() {
  read -r wall user sys rss <"$2"
  printf '%-28s %6.2f s wall, %6.2f s CPU (%s files, %s)\n' "$1" "$wall" "$(echo "$user + $sys" | bc)" \
    "$(ls "$3" | wc -l)" "$(du -sh "$3" | cut -f1)"
}
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "input: $count XRDML scans of $points points ($(du -sh "$work/in" | cut -f1))"
report "talvo-convert --to text-raw" "$work/talvo.time" "$work/talvo"
report "xyconv -m" "$work/xyconv.time" "$work/xyconv"
read -r t_wall t_user t_sys t_rss <"$work/talvo.time"
read -r x_wall x_user x_sys x_rss <"$work/xyconv.time"
echo "xyconv / talvo-convert: $(echo "scale=1; $x_wall / $t_wall" | bc) x wall, $(echo "scale=1; ($x_user + $x_sys) / ($t_user + $t_sys)" | bc) x CPU"
size=$(stat -c %s "$work/long/S000.xrdml")
read -r l_wall l_user l_sys l_rss <"$work/long.time"
echo "reading 1 000 000 points: file $((size / 1024)) KiB, peak memory $l_rss KiB, $l_wall s" \
  "(goal: under $((3 * size / 1024 + 51200)) KiB)"
