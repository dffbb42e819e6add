"""The download site's airport stand files, built from the sources in data/stands/."""

from __future__ import annotations

from pathlib import Path

from .airports import Catalogue
from .csvsource import read_csv
from .packages import DataError
from .schedule import assign, entries_of
from .site import SIMADDON, STOCK, archive_path
from .standfile import StandFile, stand_file_xml
from .standsrc import stands_of, traffic_of


def stand_airports(stand_dir: Path) -> list[dict[str, str]]:
    """The airports that get stand files, with the date of their data."""
    return read_csv(stand_dir / "airports.csv")


def build_site_files(stand_dir: Path, catalogue: Catalogue, simaddon_codes: set[str]) -> tuple[dict[str, str], dict]:
    """Texts by path below the site's P3D folder, and per airport the numbers of stands and stays.
    Every stay of the traffic sources must find a stand: the week is what the sources say."""
    by_code = {ap.code: ap for ap in catalogue.airports}
    files: dict[str, str] = {}
    stats: dict[str, dict[str, int]] = {}
    for row in stand_airports(stand_dir):
        code = row["icao"]
        ap = by_code.get(code)
        if ap is None or ap.alt is None:
            raise DataError(f"stands/airports.csv: {code} is not in the catalogue")
        stands = stands_of(read_csv(stand_dir / f"{code}_stands.csv"))
        traffic = traffic_of(read_csv(stand_dir / f"{code}_traffic.csv"))
        unknown = sorted({t.group for t in traffic} - {s.group for s in stands})
        if unknown:
            raise DataError(f"stands/{code}_traffic.csv: no stands for the groups {', '.join(unknown)}")
        placed, dropped = assign(stands, traffic)
        if dropped:
            raise DataError(f"stands/{code}_traffic.csv: {dropped} stays find no free stand; "
                            f"add stands or thin out the traffic")
        entries = {sid: entries_of(stays) for sid, stays in placed.items()}
        for publisher in [STOCK] + ([SIMADDON] if code in simaddon_codes else []):
            files[archive_path(publisher, code)] = stand_file_xml(
                StandFile(code, ap.name, publisher, round(ap.alt), row["date"], stands, entries))
        stats[code] = {"stands": len(stands), "stays": sum(len(v) for v in placed.values())}
    return files, stats
