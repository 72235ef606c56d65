"""talvo.read against what talvo-convert writes for the same file, over
every sample and every real file; the refusals with the window's words."""

import numpy as np
import pytest

import talvo
from conftest import REAL, SAMPLES, parse_text_raw, parse_ufit, run_convert

# Every file of samples/ and tests/data/real/ with the type it is read as.
FILES = [
    (SAMPLES / "quartz.raw", "raw"),
    (SAMPLES / "quartz-v1.raw", "raw"),
    (SAMPLES / "quartz-text.raw", "auto"),
    (SAMPLES / "quartz-scan.txt", "text-raw"),
    (SAMPLES / "quartz.gsas", "gsas"),
    (SAMPLES / "quartz.xye", "xye"),
    (SAMPLES / "quartz.dat", "oxford"),
    (SAMPLES / "quartz.dif", "dif"),
    (SAMPLES / "quartz.uxd", "uxd"),
    (SAMPLES / "quartz-di.txt", "text-di"),
    (SAMPLES / "quartz-diamond.txt", "diamond"),
    (REAL / "BT86_.UXD", "uxd"),
    (REAL / "xylibgsoc_sample2.raw", "raw"),
    (REAL / "xylibgsoc_sample2.uxd", "uxd"),
    (REAL / "esd_Quinoli.gda", "gsas"),
    (REAL / "stdnotype_PBSO4.CWN", "gsas"),
    (REAL / "dash_Tutorial_4.xye", "xye"),
    (REAL / "easydiff_D1A_ILL_hashtitle.xye", "xye"),
    (REAL / "alt_tof_gem05984.gss", "gsas"),
    (REAL / "mtex_bruker.UXD", "uxd"),
    (REAL / "datalab_example_evadiffract.xy", "text-raw"),
    (REAL / "Cu3Au-1.raw", "raw"),
    (REAL / "fxye_11bmb_8714.fxye", "gsas"),
    (REAL / "g2tut_Cr2WO6_T4K_xye.dat", "xye"),
    (REAL / "g2tut_PG3_20255-4_10K_mantid.xye", "xye"),
    (REAL / "g2tut_Keokuk_kaolinite.RAW", "raw-any"),
    (REAL / "datalab_RAW4_TiO2.raw", "raw-any"),
    (REAL / "datalab_CG20396_jdb12-1.xrdml", "xrdml"),
    (REAL / "rigakuxrd_MB120718Si3.ras", "ras"),
    (REAL / "rigakuxrd_RM20220915Si01.rasx", "rasx"),
    (REAL / "nomad_23-012-AG_2thomegascan_long.brml", "brml"),
]


def test_the_table_holds_every_file():
    listed = {path.name for path, _ in FILES}
    present = {p.name for folder in (SAMPLES, REAL) for p in folder.iterdir() if p.name != "README.md"}
    assert present <= listed, f"files without a row: {sorted(present - listed)}"


@pytest.mark.parametrize("path,key", FILES, ids=[p.name for p, _ in FILES])
def test_read_gives_what_talvo_convert_writes(path, key, tmp_path):
    peaks = key in ("dif", "uxd", "text-di", "diamond") and "quartz" in path.name
    out = tmp_path / ("out.dif" if peaks else "out.txt")
    run = run_convert("--from", key, "--to", "ufit" if peaks else "text-raw", "-o", out, path)
    if run.status != 0:
        # Refused by the reader, or by the writer (more points than formatted text holds).
        try:
            p = talvo.read(path, key)
        except talvo.RefusedError as refused:
            assert refused.message == run.message
            assert refused.path == str(path)
            return
        (tmp_path / "sub").mkdir()
        with pytest.raises(talvo.RefusedError) as refused:
            talvo.write(p, tmp_path / "sub" / "out.txt", "text-raw")
        assert refused.value.message == run.message
        return
    p = talvo.read(path, key)
    assert p.kind == ("peaks" if peaks else "scan")
    written = parse_ufit(out) if peaks else parse_text_raw(out)
    assert p.two_theta.dtype == np.float64 and p.intensity.dtype == np.float64
    assert len(p) == len(written["angles"])
    if "its steps run from" in run.err:  # the file's own angles, which formatted text cannot hold
        assert p.two_theta[0] == pytest.approx(written["angles"][0], abs=0.0051)
        assert np.ptp(np.diff(p.two_theta)) > 0.01
    else:
        np.testing.assert_allclose(p.two_theta, written["angles"], rtol=0, atol=0.0051 if not peaks else 0.00051)
    np.testing.assert_allclose(p.intensity, written["counts"], rtol=0, atol=0.051)
    assert p.sample.encode("cp1252")[:32].decode("cp1252").rstrip() == written["sample"].rstrip()
    if not peaks:
        assert written["points"] == len(p)
        assert p.metadata["step"] == pytest.approx(written["step"], abs=0.0005)
        assert p.wavelength == pytest.approx(written["lambda"], rel=1e-6)
        assert p.time_per_step == pytest.approx(written["time"], abs=0.05)
        assert p.metadata["type"] == talvo.input_types()[[t.key for t in talvo.input_types()].index(key)].name


def write(tmp_path, name, data):
    path = tmp_path / name
    path.write_bytes(data)
    return path


RAW2 = (SAMPLES / "quartz.raw").read_bytes()
# (what, file name, bytes, type, the message the window shows)
REFUSALS = [
    ("RAW version 3", "v3.raw", b"RAW1.01" + bytes(400), "raw", "Raw v3 files not supported. Please save it first to v2"),
    ("RAW version 3 by signature", "v3.raw", b"RAW1.01" + bytes(400), "auto",
     "Sorry, but I can't recognize this signature, or conversion not supported"),
    ("a DIF file as RAW", "q.raw", (SAMPLES / "quartz.dif").read_bytes(), "raw",
     'This file does not appear to be a "Diffrac-Plus RAW" file'),
    ("a RAW file as DIF", "q.dif", RAW2, "dif", 'This file does not appear to be a "Diffrac-Plus DIF" file'),
    ("four bytes", "short.raw", b"RAW2", "raw", 'This file does not appear to be a "Diffrac-Plus RAW" file'),
    ("DIF version 1", "d1.dif", b"DIF " + bytes(300), "dif", "DIF1 files are no longer supported"),
    ("DIF version 3", "d3.dif", b"DIF1" + bytes(300), "dif", "Dif v3 files not supported. Please save it first to v2"),
    ("a cut RAW version 2", "cut.raw", RAW2[:1000], "raw", None),
    ("a display name", "v3.raw", b"RAW1.01" + bytes(400), "Diffrac-Plus RAW",
     "Raw v3 files not supported. Please save it first to v2"),
]


@pytest.mark.parametrize("what,name,data,key,message", REFUSALS, ids=[r[0] for r in REFUSALS])
def test_each_refusal_raises_with_the_windows_message(what, name, data, key, message, tmp_path):
    path = write(tmp_path, name, data)
    run = run_convert("--from", talvo.input_types()[[t.name for t in talvo.input_types()].index(key)].key
                      if " " in key else key, "-o", tmp_path / "out.txt", path)
    with pytest.raises(talvo.RefusedError) as refused:
        talvo.read(path, key)
    assert isinstance(refused.value, ValueError)
    assert refused.value.message == run.message
    if message is not None:
        assert refused.value.message == message
    assert refused.value.path == str(path)


def test_a_missing_file_is_refused_with_its_path(tmp_path):
    run = run_convert("-o", tmp_path / "out.txt", tmp_path / "none.raw")
    with pytest.raises(talvo.RefusedError) as refused:
        talvo.read(tmp_path / "none.raw")
    assert refused.value.message == run.message


# The type from the extension and the content, when none is named.
GUESSED = [
    ("quartz.raw", "Diffrac-Plus RAW"),
    ("quartz-text.raw", "Automatic (by signature)"),
    ("quartz-di.txt", "Formatted text (D/I)"),
    ("quartz-diamond.txt", "Diamond text (D/I)"),
    ("quartz-scan.txt", "Formatted text (RAW)"),
    ("quartz.dat", "Oxford text raw data (dat)"),
    ("quartz.dif", "Diffrac-Plus DIF"),
]


@pytest.mark.parametrize("name,type_name", GUESSED)
def test_the_type_is_found_from_the_extension_and_the_content(name, type_name):
    assert talvo.read(SAMPLES / name).metadata["type"] == type_name


def test_an_unknown_type_or_answer_is_a_usage_error():
    with pytest.raises(ValueError, match="unknown input type"):
        talvo.read(SAMPLES / "quartz.raw", "nothing")
    with pytest.raises(ValueError, match='"1,2,3" is not a number'):
        talvo.read(SAMPLES / "quartz.dat", "oxford", time="1,2,3")
    with pytest.raises(TypeError, match="unknown keyword argument fhwm"):
        talvo.read(SAMPLES / "quartz.raw", fhwm=1)


# The import dialog's answers, as talvo-convert's options.
ANSWERS = [
    ("quartz.dat", "oxford", {"time": 2}, ["--time", "2"]),
    ("quartz.dat", "oxford", {"anode": "Mo"}, ["--anode", "Mo"]),
    ("quartz.dat", "oxford", {"anode": "Mo", "lambda_": "1,5"}, ["--anode", "Mo", "--lambda", "1,5"]),
    ("quartz.gsas", "gsas", {"start": 20, "step": 0.05}, ["--start", "20", "--step", "0.05"]),
    ("quartz.gsas", "gsas", {"step": 0}, ["--step", "0"]),
]


@pytest.mark.parametrize("name,key,answers,options", ANSWERS)
def test_the_import_dialog_takes_the_keywords_as_talvo_convert_its_options(name, key, answers, options, tmp_path):
    out = tmp_path / "out.txt"
    run = run_convert("--from", key, *options, "-o", out, SAMPLES / name)
    if run.status != 0:
        with pytest.raises(talvo.RefusedError) as refused:
            talvo.read(SAMPLES / name, key, **answers)
        assert refused.value.message == run.message
        return
    p = talvo.read(SAMPLES / name, key, **answers)
    written = parse_text_raw(out)
    assert len(p) == written["points"]
    np.testing.assert_allclose(p.two_theta, written["angles"], atol=0.0051, rtol=0)
    assert p.wavelength == pytest.approx(written["lambda"], rel=1e-6)
    assert p.time_per_step == pytest.approx(written["time"], abs=0.05)


def test_read_all_gives_one_pattern_per_range():
    patterns = talvo.read_all(SAMPLES / "quartz.raw")
    assert len(patterns) == 1 and patterns[0].metadata["ranges"] == 1
    with pytest.raises(talvo.RefusedError):
        talvo.read(SAMPLES / "quartz.raw", range=2)


def test_help_and_types():
    for function in (talvo.read, talvo.read_all, talvo.write, talvo.convert, talvo.synthesise, talvo.Pattern,
                     talvo.input_types, talvo.output_types, talvo.RefusedError, talvo.WriteError):
        assert function.__doc__ and len(function.__doc__) > 40, function
    keys = [t.key for t in talvo.input_types()]
    assert keys[:10] == ["dif", "raw", "uxd", "text-di", "diamond", "text-raw", "gsas", "xye", "oxford", "auto"]
    assert [t.key for t in talvo.output_types()][:8] == ["dif", "raw2", "uxd", "text-di", "text-raw", "treor",
                                                          "ufit", "bmp"]
