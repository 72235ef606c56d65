"""Shared fixtures: the talvo-convert of the same build, the sample and
real files, and what talvo-convert writes for them."""

import os
import pathlib
import subprocess

import pytest

CONVERT = os.environ.get("TALVO_CONVERT", "talvo-convert")
SAMPLES = pathlib.Path(os.environ.get("TALVO_SAMPLES", pathlib.Path(__file__).parents[2] / "samples"))
REAL = pathlib.Path(os.environ.get("TALVO_TEST_DATA", pathlib.Path(__file__).parents[2] / "tests" / "data")) / "real"


class Run:
    def __init__(self, status, err):
        self.status, self.err = status, err

    @property
    def message(self):
        """The text of the one message talvo-convert printed, without the
        file's name and its mark."""
        line = self.err.rstrip("\n")
        assert "\n" not in line, self.err
        text = line.split(": ", 1)[1]
        for mark in ("error: ", "warning: "):
            if text.startswith(mark):
                text = text[len(mark):]
        return text


def run_convert(*args):
    done = subprocess.run([CONVERT, *map(str, args)], capture_output=True, encoding="utf-8", errors="replace")
    return Run(done.returncode, done.stderr)


def parse_text_raw(path):
    """A "Formatted text (RAW)" file as talvo-convert writes it."""
    lines = pathlib.Path(path).read_bytes().decode("cp1252").split("\r\n")
    header = [line.split("\t", 1)[1] for line in lines[:6]]
    points = [tuple(float(v) for v in line.split("\t")) for line in lines[6:] if line]
    return {"sample": header[0], "points": int(header[1]), "time": float(header[2]), "step": float(header[3]),
            "lambda": float(header[4]), "angles": [a for a, _ in points], "counts": [c for _, c in points]}


def parse_ufit(path):
    """A U-Fit peak file: the title, a blank line, then "2theta, I, 0"."""
    lines = pathlib.Path(path).read_bytes().decode("cp1252").split("\r\n")
    peaks = [tuple(float(v) for v in line.split(",")[:2]) for line in lines[2:] if line]
    return {"sample": lines[0], "angles": [a for a, _ in peaks], "counts": [c for _, c in peaks]}
