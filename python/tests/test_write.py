"""talvo.write against talvo-convert: the same bytes for every output type,
the same refusals, and nothing left behind when a file cannot be written."""

import os
import pathlib
import subprocess
import sys

import numpy as np
import pytest

import talvo
from conftest import SAMPLES, run_convert

SOURCES = [("quartz.raw", "raw"), ("quartz.dif", "dif"), ("quartz.gsas", "gsas"), ("BT86_.UXD", "uxd")]
OUTPUTS = [t.key for t in talvo.output_types()]


def source_path(name):
    from conftest import REAL
    return SAMPLES / name if (SAMPLES / name).exists() else REAL / name


@pytest.mark.parametrize("name,key", SOURCES)
@pytest.mark.parametrize("to", OUTPUTS)
def test_write_gives_the_bytes_talvo_convert_writes(name, key, to, tmp_path):
    (tmp_path / "ours").mkdir(), (tmp_path / "theirs").mkdir()
    ours, theirs = tmp_path / "ours" / "out.out", tmp_path / "theirs" / "out.out"  # a CIF names its block so
    run = run_convert("--from", key, "--to", to, "--noise", "0", "-o", theirs, source_path(name))
    p = talvo.read(source_path(name), key)
    if run.status != 0:
        with pytest.raises(talvo.RefusedError) as refused:
            talvo.write(p, ours, to, noise=0)
        assert refused.value.message == run.message
        assert not ours.exists()
        return
    talvo.write(p, ours, to, noise=0)
    assert ours.read_bytes() == theirs.read_bytes()


def test_the_type_comes_from_the_extension_and_the_kind(tmp_path):
    scan, peaks = talvo.read(SAMPLES / "quartz.raw"), talvo.read(SAMPLES / "quartz.dif")
    talvo.write(scan, tmp_path / "a.txt")  # formatted text (RAW), not the peak-list text that always refuses
    assert (tmp_path / "a.txt").read_bytes().startswith(b"Mesure\t")
    talvo.write(peaks, tmp_path / "b.dif")  # U-Fit, not DIF
    assert b"26.639, 100.0, 0\r\n" in (tmp_path / "b.dif").read_bytes()
    with pytest.raises(ValueError, match="no output type"):
        talvo.write(scan, tmp_path / "a.unknown")


def test_a_changed_pattern_is_written_from_its_arrays(tmp_path):
    p = talvo.read(SAMPLES / "quartz.raw")
    p.intensity = p.intensity * 2
    p.sample = "doubled"
    talvo.write(p, tmp_path / "d.raw")
    q = talvo.read(tmp_path / "d.raw")
    np.testing.assert_array_equal(q.intensity, p.intensity)
    np.testing.assert_array_equal(q.two_theta, p.two_theta)
    assert q.sample == "doubled"


def test_a_pattern_from_arrays_reads_back_as_written(tmp_path):
    angles = 10 + 0.02 * np.arange(40000)  # past the system's 16-bit count
    p = talvo.Pattern(two_theta=angles, intensity=np.arange(40000.0), wavelength=1.5406)
    with pytest.raises(talvo.RefusedError, match="32767"):
        talvo.write(p, tmp_path / "big.raw")
    assert list(tmp_path.iterdir()) == []
    small = talvo.Pattern(two_theta=angles[:100], intensity=np.arange(100.0), wavelength=1.5406, sample="arrays")
    talvo.write(small, tmp_path / "small.raw")
    q = talvo.read(tmp_path / "small.raw")
    np.testing.assert_allclose(q.two_theta, small.two_theta, atol=1e-6)
    np.testing.assert_array_equal(q.intensity, small.intensity)
    assert q.wavelength == pytest.approx(1.5406, rel=1e-7) and q.sample == "arrays"
    with pytest.raises(ValueError):
        talvo.Pattern(two_theta=[1, 2], intensity=[1])


CHILD = """
import sys, talvo
p = talvo.read(sys.argv[1])
try:
    talvo.write(p, sys.argv[2])
except talvo.WriteError as e:
    print(type(e).__mro__[1].__name__, e.path, e.message, sep="|")
"""


def run_child(args, **options):
    env = dict(os.environ, PYTHONPATH=os.pathsep.join(sys.path))
    return subprocess.run([sys.executable, "-c", CHILD, *map(str, args)], capture_output=True, text=True, env=env,
                          **options)


def test_a_read_only_folder_raises_write_error_and_leaves_nothing():
    import tempfile
    outer = tempfile.TemporaryDirectory()  # not below pytest's folder, which is closed to other users
    os.chmod(outer.name, 0o755)
    folder = pathlib.Path(outer.name) / "ro"
    folder.mkdir()
    source = SAMPLES / "quartz.raw"
    folder.chmod(0o555)
    try:
        # Every folder is writable to root: the write runs as nobody.
        user = {"user": 65534, "group": 65534, "extra_groups": []} if os.geteuid() == 0 else {}
        done = run_child([source, folder / "q.txt"], **user)
    finally:
        folder.chmod(0o755)
    assert done.returncode == 0, done.stderr
    assert done.stdout.strip() == f"OSError|{folder / 'q.txt'}|The folder {folder} cannot be written to: q.txt cannot be written."
    assert list(folder.iterdir()) == []
    outer.cleanup()


def test_a_full_file_system_keeps_the_old_file(tmp_path):
    import resource
    old = tmp_path / "q.txt"
    old.write_bytes(b"the old output\r\n")
    done = run_child([SAMPLES / "quartz.raw", old],
                     preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (2000, 2000)))
    assert done.stdout.strip() == f"OSError|{old}|q.txt cannot be written: file too large."
    assert old.read_bytes() == b"the old output\r\n"
    assert sorted(p.name for p in tmp_path.iterdir()) == ["q.txt"]
