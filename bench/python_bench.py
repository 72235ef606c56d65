#!/usr/bin/python3
"""Speed of the Python module talvo, run by hand:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py [FILES] [POINTS]

With TALVO_BENCH naming the benchmark program (a build configured with
-DTALVO_BUILD_BENCH=ON: build/bench/talvo_bench), item 3 takes the engine's
own read of the 10-point file from its BM_Read_Only_Small_Raw2.

1. talvo.read of FILES (150) RAW version 2 scans of POINTS (32 767) points,
   against numpy.loadtxt of the same scans written as xye text;
2. the same files read by a pool of 2 threads against 1;
3. the cost of one talvo.read call on a 10-point file beyond the engine's
   own read of it.
"""
import concurrent.futures
import json
import os
import pathlib
import platform
import subprocess
import sys
import tempfile
import time

import numpy as np

import talvo

HERE = pathlib.Path(__file__).resolve().parent


def best_of(runs, work):
    times = []
    for _ in range(runs):
        begin = time.perf_counter()
        work()
        times.append(time.perf_counter() - begin)
    return min(times)


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 150
    points = int(sys.argv[2]) if len(sys.argv) > 2 else 32767
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")), "?")
    print(f"machine: {cpu}, {os.cpu_count()} cores; Python {platform.python_version()}, numpy {np.__version__}")
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([sys.executable, HERE / "make_raw2_files.py", folder, str(count), str(points)], check=True)
        raws = sorted(pathlib.Path(folder).glob("*.RAW"))
        xyes = []
        for raw in raws:
            p = talvo.read(raw, "raw")
            xye = raw.with_suffix(".xye")
            np.savetxt(xye, np.column_stack([p.two_theta, p.intensity, np.sqrt(p.intensity)]), fmt="%.5f %.4f %.4f")
            xyes.append(xye)
        for raw, xye in zip(raws[:3], xyes[:3]):
            np.testing.assert_allclose(np.loadtxt(xye)[:, 1], talvo.read(raw, "raw").intensity, atol=1e-4)

        ours = best_of(3, lambda: [talvo.read(raw, "raw") for raw in raws])
        text = best_of(1, lambda: [np.loadtxt(xye) for xye in xyes])
        print(f"1. {count} files of {points} points: talvo.read {ours:.3f} s, numpy.loadtxt of xye {text:.3f} s:"
              f" {text / ours:.0f}x faster")

        def pool(threads):
            with concurrent.futures.ThreadPoolExecutor(threads) as executor:
                list(executor.map(lambda raw: talvo.read(raw, "raw"), raws))

        one, two = best_of(5, lambda: pool(1)), best_of(5, lambda: pool(2))
        print(f"2. the same by threads: 1 thread {one:.3f} s, 2 threads {two:.3f} s: {one / two:.2f}x")

        small = pathlib.Path(folder) / "small.RAW"
        subprocess.run([sys.executable, HERE / "make_raw2_files.py", folder, "1", "10"], check=True)
        (pathlib.Path(folder) / "S000.RAW").rename(small)
        times = 20000
        call = best_of(3, lambda: [talvo.read(small, "raw") for _ in range(times)]) / times
        engine = engine_read_seconds()
        if engine is None:
            print(f"3. a 10-point file: talvo.read {call * 1e6:.1f} us a call (set TALVO_BENCH for the engine's own)")
        else:
            print(f"3. a 10-point file: talvo.read {call * 1e6:.1f} us a call, the engine's read {engine * 1e6:.1f} us:"
                  f" {(call - engine) * 1e6:.1f} us of overhead")


def engine_read_seconds():
    """The engine's read of a 10-point RAW file, from the C++ benchmark."""
    program = os.environ.get("TALVO_BENCH")
    if not program:
        return None
    run = subprocess.run([program, "--benchmark_filter=BM_Read_Only_Small_Raw2", "--benchmark_format=json",
                          "--benchmark_repetitions=3"], check=True, capture_output=True, text=True)
    runs = [b for b in json.loads(run.stdout)["benchmarks"] if b.get("run_type") == "iteration"]
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    return min(b["real_time"] * scale[b["time_unit"]] for b in runs)


if __name__ == "__main__":
    main()
