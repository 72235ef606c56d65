from os import PathLike
from typing import Any, Iterable, Literal, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

_Path = Union[str, PathLike[str]]
_Number = Union[float, int, str]
_Range = Union[int, Literal["all"], None]

__version__: str

class RefusedError(ValueError):
    path: str
    message: str
    def __init__(self, path: str, message: str) -> None: ...

class WriteError(OSError):
    path: str
    message: str
    def __init__(self, path: str, message: str) -> None: ...

class TalvoWarning(UserWarning): ...

class Pattern:
    two_theta: npt.NDArray[np.float64]
    intensity: npt.NDArray[np.float64]
    uncertainty: Optional[npt.NDArray[np.float64]]
    wavelength: float
    time_per_step: float
    sample: str
    kind: Literal["scan", "peaks"]
    metadata: dict[str, Any]
    warnings: list[str]
    def __init__(
        self,
        two_theta: npt.ArrayLike,
        intensity: npt.ArrayLike,
        wavelength: Optional[float] = ...,
        *,
        uncertainty: Optional[npt.ArrayLike] = ...,
        time_per_step: Optional[float] = ...,
        sample: str = ...,
        kind: Literal["scan", "peaks"] = ...,
        metadata: Optional[dict[str, Any]] = ...,
    ) -> None: ...
    def __len__(self) -> int: ...

class Conversion:
    input: str
    output: str
    status: Literal["converted", "refused", "failed"]
    messages: list[str]
    @property
    def ok(self) -> bool: ...

class FileType(tuple[str, str, str, str]):
    @property
    def key(self) -> str: ...
    @property
    def name(self) -> str: ...
    @property
    def pattern(self) -> str: ...
    @property
    def layer(self) -> Literal["system", "today"]: ...

def read(
    path: _Path,
    type: Optional[str] = ...,
    range: Optional[int] = ...,
    *,
    start: Optional[_Number] = ...,
    end: Optional[_Number] = ...,
    step: Optional[_Number] = ...,
    time: Optional[_Number] = ...,
    anode: Optional[str] = ...,
    sample: Optional[str] = ...,
    lambda_: Optional[_Number] = ...,
) -> Pattern: ...
def read_all(
    path: _Path,
    type: Optional[str] = ...,
    *,
    start: Optional[_Number] = ...,
    end: Optional[_Number] = ...,
    step: Optional[_Number] = ...,
    time: Optional[_Number] = ...,
    anode: Optional[str] = ...,
    sample: Optional[str] = ...,
    lambda_: Optional[_Number] = ...,
) -> list[Pattern]: ...
def write(
    pattern: Pattern,
    path: _Path,
    type: Optional[str] = ...,
    *,
    start: Optional[_Number] = ...,
    end: Optional[_Number] = ...,
    step: Optional[_Number] = ...,
    time: Optional[_Number] = ...,
    anode: Optional[str] = ...,
    profile: Optional[Literal["gauss", "lorentz", "pearson7"]] = ...,
    fwhm: Optional[_Number] = ...,
    background: Optional[_Number] = ...,
    noise: Optional[_Number] = ...,
    preserve_range: bool = ...,
    lambda_: Optional[_Number] = ...,
) -> list[str]: ...
def convert(
    inputs: Union[_Path, Iterable[_Path]],
    to: str = ...,
    output: Optional[_Path] = ...,
    jobs: Optional[int] = ...,
    from_: str = ...,
    range: _Range = ...,
    *,
    start: Optional[_Number] = ...,
    end: Optional[_Number] = ...,
    step: Optional[_Number] = ...,
    time: Optional[_Number] = ...,
    anode: Optional[str] = ...,
    sample: Optional[str] = ...,
    profile: Optional[Literal["gauss", "lorentz", "pearson7"]] = ...,
    fwhm: Optional[_Number] = ...,
    background: Optional[_Number] = ...,
    noise: Optional[_Number] = ...,
    preserve_range: bool = ...,
    lambda_: Optional[_Number] = ...,
) -> list[Conversion]: ...
def synthesise(
    peaks: Optional[Pattern] = ...,
    *,
    two_theta: Optional[npt.ArrayLike] = ...,
    intensity: Optional[npt.ArrayLike] = ...,
    start: Optional[_Number] = ...,
    end: Optional[_Number] = ...,
    step: Optional[_Number] = ...,
    time: Optional[_Number] = ...,
    anode: Optional[str] = ...,
    profile: Optional[Literal["gauss", "lorentz", "pearson7"]] = ...,
    fwhm: Optional[_Number] = ...,
    background: Optional[_Number] = ...,
    noise: Optional[_Number] = ...,
    preserve_range: bool = ...,
    seed: Optional[int] = ...,
    lambda_: Optional[_Number] = ...,
) -> Pattern: ...
def input_types() -> list[FileType]: ...
def output_types() -> list[FileType]: ...
