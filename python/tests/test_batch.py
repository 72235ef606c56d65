"""Synthesis, the batch, threads and Dask."""

import concurrent.futures
import os

import numpy as np
import pytest

import talvo
from conftest import REAL, SAMPLES, run_convert

DIF = SAMPLES / "quartz.dif"

# Synthesis parameters as keywords and as talvo-convert's options.
SYNTHESES = [
    {"noise": 0},
    {"noise": 0, "profile": "pearson7", "fwhm": 0.1, "background": 10, "start": 10, "end": 80, "step": 0.02},
    {"noise": 0, "profile": "lorentz", "fwhm": "0,2", "preserve_range": True},
    {"noise": 3, "profile": "gauss"},  # the noise talvo-convert draws first
    {"noise": 0, "fwhm": 0},  # the dialog's refusal
]


@pytest.mark.parametrize("answers", SYNTHESES, ids=[str(a) for a in SYNTHESES])
def test_synthesise_gives_the_bits_talvo_convert_writes(answers, tmp_path):
    options = []
    for key, value in answers.items():
        options += [f"--{key.replace('_', '-')}"] if value is True else [f"--{key}", str(value)]
    run = run_convert("--from", "dif", "--to", "raw2", *options, "-o", tmp_path / "theirs.raw", DIF)
    peaks = talvo.read(DIF)
    if run.status != 0:
        with pytest.raises(talvo.RefusedError) as refused:
            talvo.synthesise(peaks, **answers)
        assert refused.value.message == run.message
        return
    scan = talvo.synthesise(peaks, **answers)
    theirs = talvo.read(tmp_path / "theirs.raw")
    assert scan.kind == "scan"
    assert scan.intensity.tobytes() == theirs.intensity.tobytes()
    talvo.write(scan, tmp_path / "ours.raw")
    assert (tmp_path / "ours.raw").read_bytes() == (tmp_path / "theirs.raw").read_bytes()


def test_a_seed_gives_the_same_scan_twice():
    peaks = talvo.read(DIF)
    first, again = (talvo.synthesise(peaks, noise=5, seed=7) for _ in range(2))
    other = talvo.synthesise(peaks, noise=5, seed=8)
    assert first.intensity.tobytes() == again.intensity.tobytes()
    assert first.intensity.tobytes() != other.intensity.tobytes()


def test_synthesise_from_arrays_is_the_synthesis_of_the_same_peak_list():
    peaks = talvo.read(DIF)
    answers = dict(start=10, end=80, step=0.02, profile="pearson7", fwhm=0.1, background=10, noise=0)
    from_arrays = talvo.synthesise(two_theta=peaks.two_theta, intensity=peaks.intensity, **answers)
    assert from_arrays.intensity.tobytes() == talvo.synthesise(peaks, **answers).intensity.tobytes()
    q = talvo.synthesise(two_theta=[26.64, 20.86], intensity=[100, 22], **answers)
    assert len(q) == 3500 and q.two_theta[0] == 10
    assert abs(q.two_theta[np.argmax(q.intensity)] - 26.64) < 0.011
    assert q.intensity[0] == pytest.approx(10, abs=0.5)  # the background, far from both peaks
    with pytest.raises(ValueError, match="scan"):
        talvo.synthesise(talvo.read(SAMPLES / "quartz.raw"))


def test_convert_is_the_batch_of_talvo_convert(tmp_path):
    inputs = [SAMPLES / "quartz.raw", SAMPLES / "quartz-v1.raw", SAMPLES / "quartz.dif"]
    ours, theirs = tmp_path / "ours", tmp_path / "theirs"
    ours.mkdir(), theirs.mkdir()
    run = run_convert("--to", "raw2", "-j", "2", "-o", f"{theirs}/", *inputs)
    results = talvo.convert(inputs, to="raw2", output=f"{ours}/", jobs=2)
    assert [r.status for r in results] == ["converted", "converted", "refused"]
    assert [os.path.basename(r.output) for r in results] == ["quartz.raw", "quartz-v1.raw", "quartz.raw"]
    assert [m for r in results for m in r.messages] == [line.split(": ", 1)[1] for line in run.err.splitlines()]
    assert sorted(os.listdir(ours)) == sorted(os.listdir(theirs)) == ["quartz-v1.raw", "quartz.raw"]
    for name in os.listdir(ours):
        assert (ours / name).read_bytes() == (theirs / name).read_bytes()


FILES = [(SAMPLES / n, k) for n, k in [("quartz.raw", "raw"), ("quartz-v1.raw", "raw"), ("quartz.xye", "xye"),
                                      ("quartz-scan.txt", "text-raw"), ("quartz.dat", "oxford")]]
FILES += [(REAL / n, k) for n, k in [("esd_Quinoli.gda", "gsas"), ("dash_Tutorial_4.xye", "xye"),
                                    ("xylibgsoc_sample2.raw", "raw")]]


def read(row):
    return talvo.read(*row)


def test_two_threads_read_at_once_and_read_right():
    expected = [read(row) for row in FILES]
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        got = list(pool.map(read, FILES * 25))
    for k, p in enumerate(got):
        want = expected[k % len(FILES)]
        assert p.two_theta.tobytes() == want.two_theta.tobytes()
        assert p.intensity.tobytes() == want.intensity.tobytes()
        assert p.sample == want.sample


@pytest.mark.parametrize("scheduler", ["threads", "sync", "processes"])
def test_a_dask_bag_gives_the_arrays_of_a_loop(scheduler):
    bag = pytest.importorskip("dask.bag")
    paths = [str(path) for path, key in FILES if key != "oxford"] * 3
    patterns = bag.from_sequence(paths, npartitions=4).map(talvo.read).compute(scheduler=scheduler)
    for path, p in zip(paths, patterns):
        want = talvo.read(path)
        np.testing.assert_array_equal(p.two_theta, want.two_theta)
        np.testing.assert_array_equal(p.intensity, want.intensity)
