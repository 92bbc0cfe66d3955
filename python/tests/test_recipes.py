"""The README's scale-out recipes on a few sample files: Dask on a
LocalCluster of two workers, and GNU parallel on this machine."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

import fenmarq

RECIPES = Path(__file__).resolve().parents[2] / "docs" / "recipes"
CLI = os.environ.get("FENMARQ_CLI", "fenmarq-cli")


@pytest.fixture(scope="module")
def archive(tmp_path_factory):
    folder = tmp_path_factory.mktemp("archive")
    subprocess.run([CLI, "samples", str(folder / "samples")], check=True, stdout=subprocess.DEVNULL)
    # 47401 and 62401 share their lower three digits.
    for station in ("47662", "47401", "62401"):
        for day in ("20160412", "20160413", "20160414"):
            target = folder / station / f"sfc_10sec_{day}.{station}"
            target.parent.mkdir(exist_ok=True)
            data = bytearray((folder / "samples" / "sfc_10sec_20160412.47662").read_bytes())
            number = int(station[:2]).to_bytes(2, "little") + int(station[2:]).to_bytes(4, "little")
            for r in range(8640):  # the station in every record
                data[r * 262 + 2:r * 262 + 8] = number
            celsius = int(day[-2:]) + (10 if station == "62401" else 0)
            data[107:111] = (500 + celsius * 10).to_bytes(4, "little")  # (T + 50) x 10
            target.write_bytes(data)
    shutil.rmtree(folder / "samples")
    return folder


def test_dask_recipe_finds_each_stations_highest_temperature(archive):
    run = subprocess.run([sys.executable, str(RECIPES / "dask_read.py"), str(archive)],
                         check=True, capture_output=True, text=True, timeout=300)
    expected = {}
    for station in ("47401", "47662", "62401"):
        files = sorted(archive.glob(f"*/sfc_10sec_*.{station}"))
        expected[station] = fenmarq.read_many(files)["気温/気温データ[℃]"].max()
    lines = run.stdout.split()
    assert lines == [f"{s},{expected[s]}" for s in sorted(expected)]
    assert expected["62401"] == 24.0  # the stored 24 degrees of day 14, above the samples' 20.5


@pytest.mark.skipif(shutil.which("parallel") is None, reason="needs GNU parallel")
def test_parallel_recipe_writes_what_convert_writes(archive, tmp_path):
    env = dict(os.environ, PATH=f"{Path(CLI).parent}{os.pathsep}{os.environ['PATH']}")
    spread, alone = tmp_path / "spread", tmp_path / "alone"
    spread.mkdir()
    alone.mkdir()
    subprocess.run([str(RECIPES / "parallel_convert.sh"), str(archive)], cwd=spread, env=env,
                   check=True, timeout=300)
    files = sorted(str(p) for p in archive.glob("*/*"))
    subprocess.run([CLI, "convert", "--make-dirs", *files], cwd=alone, check=True,
                   stdout=subprocess.DEVNULL)
    for folder in ("CSVFiles", "HEXFiles", "CHKFiles"):
        names = sorted(p.name for p in (alone / folder).iterdir())
        assert len(names) == 9
        assert sorted(p.name for p in (spread / folder).iterdir()) == names
        for name in names:
            assert (spread / folder / name).read_bytes() == (alone / folder / name).read_bytes()
