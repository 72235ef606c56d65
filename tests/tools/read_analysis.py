#!/usr/bin/python3
"""Reads a file of today's analysis formats with a reader that is not
Talvo's and prints what it finds, for the interoperability tests:

    read_analysis.py MODE FILE

MODE is cif-pycifrw, cif-gemmi (powder CIF), csv (Python's csv module) or
fxye (the FXYE rules, parsed here). The first line is "sample TEXT" (the
text as the reader gives it, or "-"); then one line per point:
"2theta value su unit", where unit is the last decimal the su is written to
(0 where the su stands as a number of its own). Exit status 3 when the
reader's module is not installed."""
import csv
import re
import sys


def split_su(text):
    """'1234.5(35)' -> (1234.5, 3.5, 0.1)."""
    m = re.fullmatch(r"([-+0-9.eE]+)(?:\((\d+)\))?", text)
    if not m:
        raise SystemExit("not a number with su: %r" % text)
    value = m.group(1)
    decimals = len(value.split(".")[1]) if "." in value else 0
    unit = 10.0 ** -decimals
    su = int(m.group(2)) * unit if m.group(2) else float("nan")
    return float(value), su, unit


def angles_of(get, count, column):
    if column is not None:
        return [float(split_su(a)[0]) for a in column]
    start, step = float(get("_pd_meas_2theta_range_min")), float(get("_pd_meas_2theta_range_inc"))
    last = float(get("_pd_meas_2theta_range_max"))
    angles = [start + k * step for k in range(count)]
    if count and abs(angles[-1] - last) > abs(step) * 1e-3:
        raise SystemExit("range_max %s is not the last point %s" % (last, angles[-1]))
    return angles


def print_points(sample, angles, values):
    print("sample", sample if sample is not None else "-")
    for angle, text in zip(angles, values):
        value, su, unit = split_su(text)
        print(repr(angle), repr(value), repr(su), repr(unit))


def intensity_name(names):
    for name in ("_pd_meas_counts_total", "_pd_meas_intensity_total"):
        if name in names:
            return name
    raise SystemExit("no intensity column")


def cif_pycifrw(path):
    try:
        import CifFile
    except ImportError:
        sys.exit(3)
    block = CifFile.ReadCif(path).first_block()
    keys = [k.lower() for k in block.keys()]
    count = int(block["_pd_meas_number_of_points"])
    values = block[intensity_name(keys)]
    column = block["_pd_meas_2theta_scan"] if "_pd_meas_2theta_scan" in keys else None
    if len(values) != count:
        raise SystemExit("%d values, %d points announced" % (len(values), count))
    sample = block["_pd_meas_special_details"] if "_pd_meas_special_details" in keys else None
    print_points(sample, angles_of(lambda n: block[n], count, column), values)


def cif_gemmi(path):
    try:
        import gemmi
    except ImportError:
        sys.exit(3)
    block = gemmi.cif.read(path).sole_block()
    count = int(block.find_value("_pd_meas_number_of_points"))
    names = [n for n in ("_pd_meas_counts_total", "_pd_meas_intensity_total") if len(block.find_values(n))]
    values = list(block.find_values(intensity_name(names)))
    scan = block.find_values("_pd_meas_2theta_scan")
    column = list(scan) if len(scan) else None
    if len(values) != count:
        raise SystemExit("%d values, %d points announced" % (len(values), count))
    details = block.find_value("_pd_meas_special_details")
    sample = gemmi.cif.as_string(details) if details else None
    print_points(sample, angles_of(block.find_value, count, column), values)


def read_csv(path):
    with open(path, newline="") as f:
        data = f.read()
    if "\n" in data.replace("\r\n", ""):
        raise SystemExit("a line does not end in CR LF")
    rows = list(csv.reader(data.splitlines(True), strict=True))
    if rows[0] != ["two_theta", "intensity", "uncertainty"]:
        raise SystemExit("header row %r" % rows[0])
    print("sample -")
    for row in rows[1:]:
        angle, value, su = (float(x) for x in row)
        print(repr(angle), repr(value), repr(su), 0)


def read_fxye(path):
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    if lines[-1] != b"":
        raise SystemExit("the last record does not end in CR LF")
    lines = [line.decode("utf-8") for line in lines[:-1]]
    for line in lines:
        if len(line.encode("utf-8")) != 80:
            raise SystemExit("a record of %d bytes: %r" % (len(line), line))
    bank = lines[1].split()
    if bank[0] != "BANK" or bank[4] != "CONS" or bank[9] != "FXYE" or bank[2] != bank[3]:
        raise SystemExit("bank line %r" % lines[1])
    count, start, step = int(bank[2]), float(bank[5]), float(bank[6])
    if len(lines) != count + 2:
        raise SystemExit("%d records, %d announced" % (len(lines) - 2, count))
    print("sample", lines[0].rstrip())
    for k, line in enumerate(lines[2:]):
        x, value, su = (float(f) for f in line.split())
        if k == 0 and x != start:
            raise SystemExit("first x %r is not the bank's start %r" % (x, start))
        print(repr(x / 100), repr(value), repr(su), 0)
    if count > 1 and abs(step - (float(lines[-1].split()[0]) - start) / (count - 1)) > 1e-6 * abs(step):
        raise SystemExit("the bank's step is not the mean step")


MODES = {"cif-pycifrw": cif_pycifrw, "cif-gemmi": cif_gemmi, "csv": read_csv, "fxye": read_fxye}

if __name__ == "__main__":
    MODES[sys.argv[1]](sys.argv[2])
