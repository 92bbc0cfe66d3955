"""JMA observation day files (amd/sfc, 1min/10sec) straight into pandas.

The DataFrame has the columns of ``fenmarq-cli table``: ``file``, ``record``,
``time`` (where records carry a time stamp; datetime64 in Asia/Tokyo, NaT
where the stamp is all zeros or names no calendar time, as in the table)
and one column per field, named
``group/label[unit]``. Decoded quantities are float64 (NaN where missing),
other fields int64, or the nullable Int64 where some rows have no value.
``raw=True`` gives the stored integers, as the CSV sheet holds them.
"""

import io
import os
import warnings

import numpy as np
import pandas as pd

from . import _fenmarq

__all__ = ["read", "read_many", "formats", "columns"]

_TIME_ZONE = "Asia/Tokyo"


def read(path, raw=False):
    """Reads one day file into a DataFrame."""
    return read_many([path], raw=raw)


def read_many(paths, raw=False):
    """Reads day files of one record format into one DataFrame, in order.

    Paths are whatever ``os.fspath`` takes: str (surrogate escapes for
    bytes that are not UTF-8 included), bytes or path-like objects, each
    naming the file the system names so. A file that is no conversion
    target, or of another format than the first, raises ValueError naming
    it, as does a path with a NUL. One that cannot be opened or read raises
    the OSError that says why (FileNotFoundError, PermissionError,
    IsADirectoryError, ...); a FIFO or a device is refused at once with
    OSError, never read. A file shorter than its layout is read with zeros
    for the bytes it lacks, after a UserWarning. Ctrl-C stops a read within
    one file.
    """
    paths = [_system_path(path) for path in paths]
    for text in _fenmarq.check(paths):
        warnings.warn(text, UserWarning, stacklevel=2)
    blocks = _fenmarq.read(paths, raw)
    if blocks["times_out_of_range"]:
        warnings.warn(f"{blocks['times_out_of_range']} time stamps lie outside what "
                      "datetime64[ns] holds (1677 to 2262) and are NaT", UserWarning, stacklevel=2)
    return _frame(blocks)


def _system_path(path):
    # On POSIX a name is bytes: the extension gets them exactly as the file
    # system holds them, as open() would pass them.
    path = os.fspath(path)
    return os.fsencode(path) if os.name == "posix" else os.fsdecode(path)


def formats():
    """Every record format: kind, interval, first date and end date (the first
    date outside the format, or None), records per file, the sheet's columns
    and the table's (file, record and time included)."""
    return pd.DataFrame(_fenmarq.formats())


def columns(format, raw=False):
    """What each column of a format's table holds, as ``table --columns``."""
    text = _fenmarq.columns(os.fspath(format), raw)
    return pd.read_csv(io.StringIO(text), dtype=str, keep_default_na=False)


def _frame(blocks):
    names = blocks["names"]
    rows = len(blocks["record"])
    data = {}
    data[names[0]] = np.repeat(np.array(blocks["files"], dtype=object), blocks["records_per_file"])
    data[names[1]] = blocks["record"]
    if blocks["time"] is not None:
        utc = pd.DatetimeIndex(blocks["time"].view("M8[ns]")).tz_localize("UTC")
        data[names[2]] = utc.tz_convert(_TIME_ZONE).array
    for row, column in enumerate(blocks["number_columns"]):
        data[names[column]] = blocks["numbers"][row]
    nullable = dict(zip(blocks["nullable_columns"], blocks["missing"]))
    for row, column in enumerate(blocks["integer_columns"]):
        values = blocks["integers"][row]
        if column in nullable:
            values = pd.arrays.IntegerArray(values, nullable[column])
        data[names[column]] = values
    return _assemble(data, names, rows)


def _assemble(data, names, rows):
    # One block per dtype, as pandas keeps a frame: the columns of the NumPy
    # blocks are views, so the frame is made without copying them.
    return pd.DataFrame({name: data[name] for name in names}, index=pd.RangeIndex(rows), copy=False)
