"""The fenmarq module against sample day files that fenmarq-cli writes."""

import _thread
import os
import pathlib
import shutil
import subprocess
import threading
import time

import numpy as np
import pandas as pd
import pytest

import fenmarq

SAMPLES = {
    "amd_1min": "amd_1min_20160412.62078",
    "amd_10sec": "amd_10sec_20160412.62078",
    "sfc_10sec": "sfc_10sec_20160412.47662",
    "sfc_10sec_2008": "sfc_10sec_20120601.47662",
    "sfc_1min": "sfc_1min_20160412.47662",
}


@pytest.fixture(scope="module")
def samples(tmp_path_factory):
    folder = tmp_path_factory.mktemp("samples")
    subprocess.run([os.environ.get("FENMARQ_CLI", "fenmarq-cli"), "samples", str(folder)],
                   check=True, stdout=subprocess.DEVNULL)
    return folder


# Where record 0 starts and how long a record is.
LAYOUTS = {"amd_1min": (0, 171), "amd_10sec": (0, 145), "sfc_10sec": (0, 262),
           "sfc_10sec_2008": (26, 178), "sfc_1min": (0, 255)}


def with_stored(samples, sample, offset, value, record=1):
    """A copy of a sample (of another station) with the s32 `value` at
    `offset` of record `record`."""
    name = SAMPLES[sample]
    path = samples / name.replace(".", ".9")
    data = bytearray((samples / name).read_bytes())
    first, size = LAYOUTS[sample]
    at = first + record * size + offset
    data[at:at + 4] = value.to_bytes(4, "little", signed=True)
    path.write_bytes(data)
    return path


# One value per format against the notes' own examples.
@pytest.mark.parametrize("sample, offset, stored, column, value", [
    ("amd_1min", 10, 42517, "地点情報/緯度[度]", 42.861666666666665),  # 42° 51.7′
    ("amd_10sec", 107, 544, "気温/気温データ[℃]", 4.4),
    ("sfc_10sec", 98, 84810, "風/前10秒間積算風向ベクトルX成分", 34.81),
    ("sfc_10sec_2008", 104, 544, "気温/気温[℃]", 4.4),
    ("sfc_1min", 147, 123, "気温/気温[℃]", 12.3),
])
def test_values_decode_as_the_notes_say(samples, sample, offset, stored, column, value):
    frame = fenmarq.read(with_stored(samples, sample, offset, stored))
    assert frame[column].iloc[1] == value


def test_columns_and_dtypes_match_the_table(samples, tmp_path):
    for sample, name in SAMPLES.items():
        frame = fenmarq.read(samples / name)
        table = tmp_path / f"{sample}.csv"
        subprocess.run([os.environ.get("FENMARQ_CLI", "fenmarq-cli"), "table", "-o", str(table),
                        str(samples / name)], check=True)
        expected = pd.read_csv(table)
        assert list(frame.columns) == list(expected.columns), sample
        kinds = fenmarq.columns(name).set_index("name")["type"]
        for column in frame.columns[2:]:
            dtype = frame[column].dtype
            expected_dtype = {"number": "float64", "integer": "int64",
                              "datetime": "datetime64[ns, Asia/Tokyo]"}[kinds[column]]
            if str(dtype) == "Int64":
                assert sample == "sfc_10sec_2008" and kinds[column] == "integer"
            else:
                assert str(dtype) == expected_dtype, (sample, column)
        numbers = [c for c in frame.columns if frame[c].dtype == "float64"]
        # (pandas reads a column of whole numbers in the text as integers.)
        pd.testing.assert_frame_equal(frame[numbers], expected[numbers].astype("float64"),
                                      check_exact=True)


def test_time_is_japan_standard_time_and_zero_stamps_are_missing(samples):
    frame = fenmarq.read(samples / SAMPLES["sfc_10sec"])
    first = frame["time"].iloc[0]
    assert str(first.tz) == "Asia/Tokyo"
    assert first == pd.Timestamp("2016-04-11T15:00:00Z")
    empty = samples / "sfc_10sec_20160413.47662"
    empty.write_bytes(bytes(2_263_680))
    assert fenmarq.read(empty)["time"].isna().all()


# Stamps (year, month, day, hour, minute, second) and the time they name,
# or None: the module and the table must agree on each.
STAMPS = [
    ((2016, 4, 12, 9, 5, 30), "2016-04-12T09:05:30+09:00"),
    ((2016, 2, 29, 0, 0, 0), "2016-02-29T00:00:00+09:00"),
    ((2016, 12, 31, 24, 0, 0), "2017-01-01T00:00:00+09:00"),  # the end of a day
    ((2015, 2, 29, 0, 0, 0), None),
    ((2016, 4, 31, 0, 0, 0), None),
    ((2016, 4, 12, 24, 5, 0), None),
    ((2016, 4, 12, 0, 60, 0), None),
    ((2016, 4, 12, 0, 0, 60), None),
    ((2016, 0, 12, 0, 0, 0), None),
    ((2016, 13, 12, 0, 0, 0), None),
    ((0, 4, 12, 0, 0, 0), None),
    ((10000, 1, 1, 0, 0, 0), None),
    ((65535,) * 6, None),
]


def test_stamps_that_name_no_calendar_time_are_missing_in_module_and_table(samples, tmp_path):
    path = tmp_path / "amd_10sec_20160412.62078"
    data = bytearray((samples / SAMPLES["amd_10sec"]).read_bytes())
    # A year within the calendar but outside datetime64[ns] as well.
    stamps = STAMPS + [((1600, 1, 1, 0, 0, 0), "1600-01-01T00:00:00+09:00")]
    for record, (stamp, _) in enumerate(stamps, start=1):
        for part, value in enumerate(stamp):  # u16 fields from offset 40
            at = record * 145 + 40 + 2 * part
            data[at:at + 2] = value.to_bytes(2, "little")
    path.write_bytes(data)
    with pytest.warns(UserWarning, match="^1 time stamps lie outside"):
        times = fenmarq.read(path)["time"]
    table = tmp_path / "table.csv"
    subprocess.run([os.environ.get("FENMARQ_CLI", "fenmarq-cli"), "table", "-o", str(table),
                    str(path)], check=True)
    texts = pd.read_csv(table, dtype=str, keep_default_na=False)["time"]
    for record, (stamp, expected) in enumerate(stamps, start=1):
        assert texts[record] == (expected or ""), stamp
        if expected is None or stamp[0] == 1600:
            assert pd.isna(times[record]), stamp
        else:
            assert times[record] == pd.Timestamp(expected), stamp


def test_station_bytes_of_the_2008_first_row_are_missing(samples):
    frame = fenmarq.read_many([samples / SAMPLES["sfc_10sec_2008"]] * 2)
    assert len(frame) == 2 * 8640
    gust = frame["風/10秒間の最大瞬間風速[m/s]"]
    direction = frame["風/CW風向の最大値[度]"]
    assert str(direction.dtype) == "Int64"
    for first in (0, 8640):
        assert np.isnan(gust.iloc[first]) and direction.isna().iloc[first]
        assert not np.isnan(gust.iloc[first + 1]) and not direction.isna().iloc[first + 1]
    raw = fenmarq.read(samples / SAMPLES["sfc_10sec_2008"], raw=True)
    assert raw.dtypes.iloc[2:].eq("int64").all()


def test_errors_name_the_file_and_short_files_warn(samples, tmp_path):
    other = tmp_path / "readme.txt"
    other.write_text("x")
    with pytest.raises(ValueError, match="readme.txt"):
        fenmarq.read(other)
    with pytest.raises(ValueError, match=SAMPLES["sfc_1min"]):
        fenmarq.read_many([samples / SAMPLES["amd_1min"], samples / SAMPLES["sfc_1min"]])
    short = tmp_path / "amd_1min_20160414.62078"
    short.write_bytes((samples / SAMPLES["amd_1min"]).read_bytes()[:1000])
    with pytest.warns(UserWarning, match="holds 1000 bytes"):
        frame = fenmarq.read(short)
    assert len(frame) == 1440 and (frame["地点情報/機関番号"].iloc[10:] == 0).all()


# A folder and a station part in CP932 ("観測", "62ソ"), as a Japanese
# archive copied to Linux names them: no UTF-8, and "ソ" ends in the byte
# of "\\".
CP932_FOLDER, CP932_NAME = b"\x8a\xcf\x91\xaa", b"amd_1min_20160412.62\x83\x5c"


# Every form of path that os.fspath takes names the file as the system does.
@pytest.mark.parametrize("form", [
    os.fsdecode,  # str with surrogate escapes, as glob and os.listdir give it
    lambda path: path,  # bytes
    lambda path: pathlib.Path(os.fsdecode(path)),
])
def test_every_form_of_path_reads_the_file_it_names(samples, tmp_path, form):
    folder = os.fsencode(tmp_path) + b"/" + CP932_FOLDER
    os.mkdir(folder)
    shutil.copy(samples / SAMPLES["amd_1min"], folder + b"/" + CP932_NAME)
    frame = fenmarq.read(form(folder + b"/" + CP932_NAME))
    assert (frame["file"] == os.fsdecode(CP932_NAME)).all()
    expected = fenmarq.read(samples / SAMPLES["amd_1min"])
    pd.testing.assert_frame_equal(frame.drop(columns="file"), expected.drop(columns="file"))


def make_directory(path):
    path.mkdir()
    return path


def make_fifo(path):
    os.mkfifo(path)
    return path


def make_unreadable(path):
    path.write_bytes(bytes(246_240))
    path.chmod(0)
    return path


# Paths that name no readable day file raise the error that says why, as
# open() does, at once: nothing is read past a NUL, and a FIFO is never
# waited on.
@pytest.mark.parametrize("make, error", [
    (lambda samples, tmp: tmp / "amd_1min_20160412.99999", FileNotFoundError),
    (lambda samples, tmp: f"{samples / SAMPLES['sfc_1min']}\0/{SAMPLES['amd_1min']}", ValueError),
    (lambda samples, tmp: os.fsencode(samples / SAMPLES["sfc_1min"]) + b"\0/"
     + SAMPLES["amd_1min"].encode(), ValueError),
    (lambda samples, tmp: make_directory(tmp / "amd_1min_20160412.62078"), IsADirectoryError),
    pytest.param(lambda samples, tmp: make_unreadable(tmp / "amd_1min_20160412.62078"),
                 PermissionError,
                 marks=pytest.mark.skipif(os.geteuid() == 0, reason="root reads any file")),
    (lambda samples, tmp: make_fifo(tmp / "amd_1min_20160412.62078"), OSError),
])
def test_unreadable_paths_raise_the_error_that_says_why(samples, tmp_path, make, error):
    path = make(samples, tmp_path)
    raised = []

    def read():
        try:
            fenmarq.read(path)
        except BaseException as exception:  # noqa: B902 - the kind is what is checked
            raised.append(exception)

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    reader.join(timeout=30)
    assert not reader.is_alive(), "the read blocked"
    assert len(raised) == 1 and type(raised[0]) is error, raised
    if error is not ValueError:
        assert os.path.basename(os.fspath(path)) in str(raised[0])


def test_ctrl_c_stops_a_read_of_many_files_within_a_file(samples):
    paths = [samples / SAMPLES["sfc_10sec"]] * 60
    wholes = []
    for _ in range(2):  # the first read may pay for memory the second reuses
        start = time.perf_counter()
        fenmarq.read_many(paths)
        wholes.append(time.perf_counter() - start)
    whole = min(wholes)
    interrupter = threading.Timer(whole / 10, _thread.interrupt_main)
    with pytest.raises(KeyboardInterrupt):
        start = time.perf_counter()
        try:
            interrupter.start()
            fenmarq.read_many(paths)
        finally:
            elapsed = time.perf_counter() - start
            interrupter.join()
        for _ in range(100):  # a read that ran to its end meets the interrupt here
            time.sleep(0.01)
    assert elapsed < whole / 2, (elapsed, whole)


def test_reading_releases_the_interpreter(samples):
    paths = [samples / SAMPLES["sfc_10sec"]] * 12
    alone = fenmarq.read_many(paths)
    # While two threads read, a third keeps running: the longest pause it
    # sees stays far below the time of a read.
    frames, ticks, done = [], [], threading.Event()

    def tick():
        while not done.is_set():
            ticks.append(time.perf_counter())

    ticker = threading.Thread(target=tick)
    readers = [threading.Thread(target=lambda: frames.append(fenmarq.read_many(paths)))
               for _ in range(2)]
    ticker.start()
    start = time.perf_counter()
    for reader in readers:
        reader.start()
    for reader in readers:
        reader.join()
    elapsed = time.perf_counter() - start
    done.set()
    ticker.join()
    longest = max(np.diff(ticks))
    assert longest < elapsed / 3, (longest, elapsed)
    for frame in frames:
        pd.testing.assert_frame_equal(frame, alone)


def test_formats_and_columns_describe_the_tables():
    listed = fenmarq.formats()
    assert len(listed) == 5
    assert list(listed["records"]) == [1440, 8640, 8640, 8640, 1440]
    assert list(listed["sheet_columns"]) == [80, 50, 83, 56, 124]  # as the README's table
    described = fenmarq.columns("sfc_10sec_20120601").set_index("ascii_name")
    assert described.loc["g02_09", "doubt"].startswith("unit cell m/s")
    assert described.loc["g01_07", ["offset", "scale", "unit"]].tolist() == ["20000", "10", "m"]
