"""Talvo from Python: X-ray powder diffraction files as numpy arrays.

The readers, writers, batch conversion and synthesis of Talvo's desktop
program and of ``talvo-convert``, with the same refusals and messages::

    import talvo
    p = talvo.read("QTZ.RAW")
    p.two_theta, p.intensity          # numpy float64 arrays, one value per point
    talvo.write(p, "QTZ.xye")

A file that Talvo refuses raises :class:`RefusedError`; an output that cannot
be written raises :class:`WriteError`. Both carry the message the desktop
program shows. The questions its dialogs ask (the import dialog of GSAS and
Oxford scans, the synthesis parameters) are keyword arguments named as
``talvo-convert``'s options; left out, each takes what the dialog proposes.

Every read, write, conversion and synthesis releases the interpreter's lock,
so a thread pool over many files uses every core.
"""

import warnings as _warnings

import numpy as _np

from . import _talvo

__all__ = [
    "Pattern",
    "RefusedError",
    "WriteError",
    "TalvoWarning",
    "Conversion",
    "FileType",
    "read",
    "read_all",
    "write",
    "convert",
    "synthesise",
    "input_types",
    "output_types",
]

__version__ = _talvo.version

_NUMBER_ANSWERS = ("start", "end", "step", "time", "lambda", "fwhm", "background", "noise")
_TEXT_ANSWERS = ("anode", "profile", "sample")


class RefusedError(ValueError):
    """Talvo refused the file or the pattern.

    The file is not of the type asked for, is damaged, holds time-of-flight
    data, the output type does not take this kind of pattern, or the dialog
    answers give no scan. ``message`` is the text the desktop program shows;
    ``path`` the file it concerns.
    """

    def __init__(self, path, message):
        super().__init__(message)
        self.path = path
        self.message = message


class WriteError(OSError):
    """The output file could not be written: its folder is missing or
    read-only, the disk is full, a file-size limit was reached.

    Nothing was left behind: an existing file keeps its old content.
    ``message`` is the text the desktop program shows; ``path`` the output.
    """

    def __init__(self, path, message):
        super().__init__(message)
        self.path = path
        self.message = message


class TalvoWarning(UserWarning):
    """Something about a file that was read all the same (what talvo-convert
    prints as a warning)."""


class Pattern:
    """A diffraction pattern: a step scan or a peak list.

    Attributes:
        two_theta: numpy float64 array, the 2-theta angle of each point or
            peak, in degrees.
        intensity: numpy float64 array, the counts of each point (a scan) or
            the relative intensity of each peak (a peak list).
        uncertainty: numpy float64 array of the standard uncertainty of each
            count, or None where the file gives none.
        wavelength: the K-alpha1 wavelength, angstrom.
        time_per_step: counting time per step, seconds.
        sample: the sample name (the title of a peak list).
        kind: "scan" or "peaks".
        metadata: a dict of what else the file states: "type" (the input
            type it was read as), "points", "start", "step", "lambda1",
            "lambda2", "range" and "ranges", and where the file gives them
            "k_alpha2", "k_ratio", "anode", "date", ...
        warnings: a list of the warnings talvo-convert prints for the file.

    A pattern made from arrays is written like one read from a file. Any
    attribute may be changed before :func:`write`; what is left unchanged is
    written as read, byte for byte.
    """

    def __init__(self, two_theta, intensity, wavelength=None, *, uncertainty=None, time_per_step=None, sample="",
                 kind="scan", metadata=None):
        """Makes a pattern from arrays.

        two_theta and intensity: sequences of numbers, one per point (or per
        peak with kind="peaks"). wavelength: angstrom; None for 1.54051, the
        copper K-alpha1 Talvo proposes. time_per_step: seconds; None for 1.
        """
        if kind not in ("scan", "peaks"):
            raise ValueError(f'kind is "scan" or "peaks", not {kind!r}')
        self.two_theta = _np.array(two_theta, dtype=_np.float64)
        self.intensity = _np.array(intensity, dtype=_np.float64)
        if self.two_theta.ndim != 1 or self.two_theta.shape != self.intensity.shape:
            raise ValueError("two_theta and intensity are one-dimensional and of one length")
        self.uncertainty = None if uncertainty is None else _np.array(uncertainty, dtype=_np.float64)
        self.wavelength = float(_np.float32(1.54051)) if wavelength is None else float(wavelength)
        self.time_per_step = 1.0 if time_per_step is None else float(time_per_step)
        self.sample = str(sample)
        self.kind = kind
        self.metadata = dict(metadata or {})
        self.warnings = []
        self._store = None

    @classmethod
    def _from_fields(cls, fields):
        pattern = cls.__new__(cls)
        pattern.__dict__.update(fields)
        return pattern

    def __getstate__(self):
        # The store a pattern was read into stays with its process: a pattern
        # sent to another one is written from its attributes.
        state = dict(self.__dict__)
        state["_store"] = None
        return state

    def __len__(self):
        """The number of points (or peaks)."""
        return len(self.intensity)

    def __repr__(self):
        where = self.metadata.get("path") or "arrays"
        return f"<talvo.Pattern {self.kind} of {len(self)} from {where}>"


class Conversion:
    """The outcome of one input of :func:`convert`.

    Attributes: input and output (paths), status ("converted", "refused" or
    "failed"), messages (what talvo-convert prints for the file, without the
    file's name), ok (True when converted).
    """

    __slots__ = ("input", "output", "status", "messages")

    def __init__(self, input, output, status, messages):
        self.input, self.output, self.status, self.messages = input, output, status, messages

    @property
    def ok(self):
        """True when the file was converted."""
        return self.status == "converted"

    def __repr__(self):
        return f"<talvo.Conversion {self.input} -> {self.output}: {self.status}>"


class FileType(tuple):
    """A file type of the registry: (key, name, pattern, layer).

    key is talvo-convert's short name ("raw"), name the display name of the
    desktop program's lists, pattern the file dialog's filter ("*.raw"),
    layer "system" for the types of the original program and "today" for
    the types labs need today.
    """

    __slots__ = ()

    def __new__(cls, key, name, pattern, layer):
        return super().__new__(cls, (key, name, pattern, layer))

    key = property(lambda self: self[0], doc="talvo-convert's short name")
    name = property(lambda self: self[1], doc="the display name")
    pattern = property(lambda self: self[2], doc="the file pattern")
    layer = property(lambda self: self[3], doc='"system" or "today"')


def _answers(options, more):
    """The dialog answers given, as talvo-convert's option names."""
    given = dict(options)
    if "lambda_" in more:
        given["lambda"] = more.pop("lambda_")
    if "lambda" in more:
        given["lambda"] = more.pop("lambda")
    if more:
        raise TypeError("unknown keyword argument " + ", ".join(sorted(more)))
    return {key: value for key, value in given.items() if value is not None}


def _range_number(range):
    if range is None:
        return 0
    if range == "all":
        return _talvo.all_ranges
    if isinstance(range, bool) or not isinstance(range, int) or range < 1:
        raise ValueError(f'range is a range number (1, 2, ...), not {range!r}')
    return range


def _warn(path, texts):
    for text in texts:
        _warnings.warn(f"{path}: {text}", TalvoWarning, stacklevel=3)


def read(path, type=None, range=None, *, start=None, end=None, step=None, time=None, anode=None, sample=None,
         **more):
    """Reads one file into a :class:`Pattern`.

    path: the file. type: the input type, as a key ("raw"), a display name
    ("Diffrac-Plus RAW") or None, for the type the file's extension names
    (trying each such type in the registry's order, then the types that
    recognise a file by its content, and taking the first that reads it).
    range: the range of a file that holds several (1 for the first); None
    takes the first and warns when there are more.

    The import dialog of GSAS and Oxford scans is answered from start, end
    and step (degrees 2-theta), time (seconds per step), lambda (angstrom,
    given as lambda_=... or **{"lambda": ...}) and anode (an element symbol:
    Ag Mo Zn Cu Ni Co Fe Mn Cr, which sets the wavelength); sample answers
    the sample-name question of "[PowderGraph" Oxford files. Numbers are
    numbers or texts as typed ("0,02" is 0.02). Each left out keeps what the
    dialog proposes.

    Raises RefusedError with the desktop program's message when the file is
    missing, not of that type, or cannot be read; ValueError for an unknown
    type. Warnings go to p.warnings and to Python's warnings (TalvoWarning).
    """
    answers = _answers({"start": start, "end": end, "step": step, "time": time, "anode": anode, "sample": sample},
                       more)
    refusal, fields = _talvo.read(str(path), type, _range_number(range), answers, False)
    if refusal is not None:
        raise RefusedError(str(path), refusal)
    pattern = Pattern._from_fields(fields)
    _warn(path, pattern.warnings)
    return pattern


def read_all(path, type=None, **answers):
    """Reads every range of a file: a list of patterns, the first range first.

    The arguments are those of :func:`read`; a file of one range gives a
    list of one pattern.
    """
    first = read(path, type, 1, **answers)
    count = int(first.metadata.get("ranges", 1))
    return [first] + [read(path, type, number, **answers) for number in range(2, count + 1)]



def write(pattern, path, type=None, *, start=None, end=None, step=None, time=None, anode=None, profile=None,
          fwhm=None, background=None, noise=None, preserve_range=False, **more):
    """Writes a pattern to a file, as Talvo writes it: atomically, so that a
    failure leaves an existing file whole and no new file behind.

    type: the output type, as a key ("raw2"), a display name, or None for the
    type that the file's extension names and that writes this kind of
    pattern. A peak list written to a step-scan type (RAW version 2) is
    synthesised first, as in the desktop program: start, end, step, time,
    lambda, anode, profile ("gauss", "lorentz" or "pearson7"), fwhm,
    background, noise and preserve_range answer its parameters dialog; each
    left out keeps what the dialog proposes.

    Raises RefusedError when the output type refuses the pattern (a scan to
    a peak-list type, too many points for the type), WriteError when the
    file cannot be written. Returns the warnings of the write.
    """
    answers = _answers({"start": start, "end": end, "step": step, "time": time, "anode": anode, "profile": profile,
                        "fwhm": fwhm, "background": background, "noise": noise}, more)
    status, message, warnings = _talvo.write(pattern, str(path), type, answers, bool(preserve_range))
    if status == "refused":
        raise RefusedError(str(path), message)
    if status == "failed":
        raise WriteError(str(path), message)
    _warn(path, warnings)
    return warnings


def convert(inputs, to="text-raw", output=None, jobs=None, from_="raw", range=None, *, start=None, end=None,
            step=None, time=None, anode=None, sample=None, profile=None, fwhm=None, background=None, noise=None,
            preserve_range=False, **more):
    """Converts files as talvo-convert does, and returns one
    :class:`Conversion` per input, in input order.

    inputs: a path or a list of paths. from_ and to: the input and output
    types (keys or display names; talvo-convert's defaults). output: as
    talvo-convert's -o, a file, a folder ("out/") or a name such as "*.txt";
    None puts each output beside its input with the output type's extension;
    in a batch each output takes its input's name. jobs: files converted at
    once (None: one per core); files that could take something from the file
    before (a peak list synthesised into a scan, UXD files) are converted one
    after another. range: a range number, "all" (each range to its own
    output, "name-2.txt" for the second) or None (the first, with a warning).
    The other keywords answer the dialogs as talvo-convert's options do.

    A refused or failed file does not stop the batch and raises nothing: its
    Conversion says so.
    """
    if isinstance(inputs, (str, bytes)) or hasattr(inputs, "__fspath__"):
        inputs = [inputs]
    answers = _answers({"start": start, "end": end, "step": step, "time": time, "anode": anode, "sample": sample,
                        "profile": profile, "fwhm": fwhm, "background": background, "noise": noise}, more)
    if jobs is not None and (isinstance(jobs, bool) or not isinstance(jobs, int) or jobs < 1):
        raise ValueError(f"jobs is a number of files to convert at once, not {jobs!r}")
    results = _talvo.convert([str(p) for p in inputs], from_, to, None if output is None else str(output), jobs,
                             _range_number(range), answers, bool(preserve_range))
    return [Conversion(*result) for result in results]


def synthesise(peaks=None, *, two_theta=None, intensity=None, start=None, end=None, step=None, time=None,
               anode=None, profile=None, fwhm=None, background=None, noise=None, preserve_range=False, seed=None,
               **more):
    """A step scan synthesised from a peak list, as Talvo synthesises one
    before it writes a peak list to a scan type.

    peaks: a peak-list Pattern (read from a DIF, UXD or text peak file), or
    two_theta and intensity: the 2-theta and the relative intensity of each
    peak (at most 500). start, end, step (degrees 2-theta), time, lambda,
    anode, profile ("gauss", "lorentz" or "pearson7"), fwhm, background,
    noise and preserve_range answer the synthesis parameters dialog; each
    left out keeps what the dialog proposes (the range of the peaks, step
    0.02, Gauss, FWHM 0.3, background 10, noise 3).

    seed: the noise is drawn from a sequence seeded with it, the same scan
    for the same seed; None draws the sequence talvo-convert starts with,
    so that the scan is the one talvo-convert writes.

    Raises RefusedError with the dialog's message when the parameters give
    no scan.
    """
    if peaks is None:
        if two_theta is None or intensity is None:
            raise TypeError("synthesise takes a peak-list Pattern, or two_theta and intensity")
        peaks = Pattern(two_theta, intensity, kind="peaks")
    elif two_theta is not None or intensity is not None:
        raise TypeError("synthesise takes a peak-list Pattern or two_theta and intensity, not both")
    answers = _answers({"start": start, "end": end, "step": step, "time": time, "anode": anode, "profile": profile,
                        "fwhm": fwhm, "background": background, "noise": noise}, more)
    if seed is not None and (isinstance(seed, bool) or not isinstance(seed, int) or not 0 <= seed < 2**32):
        raise ValueError(f"seed is a whole number from 0 to 2**32 - 1, not {seed!r}")
    refusal, fields = _talvo.synthesise(peaks, answers, bool(preserve_range), seed)
    if refusal is not None:
        raise RefusedError(peaks.metadata.get("path") or "synthesis", refusal)
    return Pattern._from_fields(fields)


def input_types():
    """The input types, in the order of the desktop program's list: a list
    of FileType (key, name, pattern, layer)."""
    return [FileType(*row) for row in _talvo.input_types()]


def output_types():
    """The output types, in the order of the desktop program's list: a list
    of FileType (key, name, pattern, layer)."""
    return [FileType(*row) for row in _talvo.output_types()]
