#!/bin/sh
# Batch conversion to formatted text of 150 scans of 32767 points written as
# RAW version 4 files (read as "Bruker RAW (versions 1 to 4)") against the
# same scans as RAW version 2 files (read as "Diffrac-Plus RAW").
# Usage: bench/batch_raw4_vs_raw2.sh [path/to/talvo-convert]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert=${1:-$here/../build/talvo-convert}
count=${COUNT:-150}
points=${POINTS:-32767}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/v2" "$work/v4" "$work/out2" "$work/out4"
/usr/bin/python3 - "$work" "$count" "$points" <<'PY'
import struct, sys
work, count, points = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def text(s, n): return s.encode().ljust(n, b"\0")
for f in range(count):
    counts = struct.pack("<%df" % points, *[100 + (k * 7 + f) % 977 for k in range(points)])
    # version 2: 256-byte file header, 60-byte range header, counts
    h = bytearray(256); h[0:4] = b"RAW2"; struct.pack_into("<h", h, 4, 1); h[8:40] = text("bench", 32)
    struct.pack_into("<ff", h, 190, 1.5406, 1.54439)
    r = bytearray(60); struct.pack_into("<hhiffff", r, 0, 60, points, 0, 1.0, 0.01, 10.0, 5.0)
    open("%s/v2/s%03d.raw" % (work, f), "wb").write(h + r + counts)
    # version 4: 61-byte header, a sample segment, a 160-byte range header, counts
    h4 = bytearray(61); h4[0:8] = b"RAW4.00\0"
    seg = struct.pack("<ii", 10, 41) + bytes(4) + text("SAMPLEID", 24) + b"bench"
    r4 = bytearray(160); struct.pack_into("<i", r4, 4, points); r4[32:56] = text("Locked Coupled", 24)
    struct.pack_into("<ddif", r4, 72, 10.0, 0.01, points, 1.0); struct.pack_into("<d", r4, 112, 1.5406); struct.pack_into("<ii", r4, 136, 4, 0)
    open("%s/v4/s%03d.raw" % (work, f), "wb").write(h4 + seg + r4 + counts)
PY
timed() {
  out=$1
  shift
  /usr/bin/time -f "%e %U %S" -o "$out" "$@" >/dev/null
}
(cd "$work/v2" && timed "$work/v2.time" "$convert" --from raw --to text-raw -o "$work/out2/*.txt" *.raw)
(cd "$work/v4" && timed "$work/v4.time" "$convert" --from raw-any --to text-raw -o "$work/out4/*.txt" *.raw)
cmp -s "$work/out2/s000.txt" "$work/out4/s000.txt" && same="same text" || same="TEXT DIFFERS"
read -r w2 u2 s2 <"$work/v2.time"
read -r w4 u4 s4 <"$work/v4.time"
echo "$count scans of $points points; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "RAW version 2: $w2 s wall, $(echo "$u2 + $s2" | bc) s CPU"
echo "RAW version 4: $w4 s wall, $(echo "$u4 + $s4" | bc) s CPU ($same)"
echo "version 4 / version 2: $(echo "scale=2; $w4 / $w2" | bc) x wall, $(echo "scale=2; ($u4 + $s4) / ($u2 + $s2)" | bc) x CPU"
