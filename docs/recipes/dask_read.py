"""Reads every day file of one record format under ARCHIVE into one Dask
DataFrame, one partition per file, and prints each station's highest air
temperature.

Usage: python3 dask_read.py ARCHIVE [SCHEDULER]
  SCHEDULER: the address of a running cluster's scheduler
  ("tcp://host:8786"); without it a LocalCluster of two workers on this
  machine does the work. Every worker needs the fenmarq module and must
  see ARCHIVE at the same path.
"""

import glob
import os
import sys

import dask.dataframe as dd
from dask.distributed import Client, LocalCluster

import fenmarq


def main():
    archive = sys.argv[1]
    # One record format per frame: the sfc ten-second files of 2015 on.
    paths = sorted(p for p in glob.glob(os.path.join(archive, "**", "sfc_10sec_*"), recursive=True)
                   if os.path.basename(p)[10:18] >= "20150303")
    if len(sys.argv) > 2:
        client = Client(sys.argv[2])
    else:
        client = Client(LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None))
    with client:
        frame = dd.from_map(fenmarq.read, paths)
        # The station number is its upper two digits and its lower three:
        # 47662 and 62662 are two stations.
        station = frame["地点情報/観測所番号(上２桁)"] * 1000 + frame["地点情報/観測所番号(下３桁)"]
        highest = frame["気温/気温データ[℃]"].groupby(station).max().compute()
        for number, celsius in highest.sort_index().items():
            print(f"{number},{celsius}")


if __name__ == "__main__":
    main()
