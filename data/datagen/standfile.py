"""Airport stand files (the program's AirportFile format) for the download site's archive."""

from __future__ import annotations

import math
from dataclasses import dataclass

from .schedule import Entry
from .standsrc import Stand
from .xmlout import element, esc, section

METRES_PER_NM = 1852.0
FILE_VERSION = "1"
FUEL = 12
# The entries are derived from timetables, not observed: they are "soft", and the quality pair
# says so, which makes the program use soft entries and the week view at a first visit.
SOFT = "true"


@dataclass(frozen=True)
class StandFile:
    code: str
    name: str
    publisher: str
    altitude: int  # feet
    date: str  # of the data, "Dec 11, 2026"
    stands: list[Stand]
    entries: dict[str, list[Entry]]  # by stand id


def quality_factors(stands: list[Stand], entries: dict[str, list[Entry]]) -> tuple[int, int]:
    """(real, soft) as the program computes them from the stand list, so that the file states what
    the program will find. All entries here are soft: the real factor is 0."""
    if not any(entries.get(s.id) for s in stands):
        return -1, -1
    total_weight, soft_sum = 0.0, 0.0
    for s in stands:
        if s.type == FUEL:
            continue
        radius_nm = s.radius / METRES_PER_NM
        w = 0.3 if radius_nm <= 7 else 1.5 if radius_nm <= 10 else 1.0
        total_weight += w
        mine = entries.get(s.id, [])
        if mine:
            n, d = len(mine), len({e.day for e in mine})
            b = sum(e.last - e.first + 1 for e in mine)
            soft_sum += w * (min(20 * n, 4000) + 10000 + 100 * d + 2 * min(b, 600))
    if total_weight == 0:
        return 0, 0
    return 0, max(0, min(100, math.floor(soft_sum / total_weight * 0.00625 + 0.5)))


def hours_text(entry: Entry) -> str:
    return str(entry.first) if entry.first == entry.last else f"{entry.first}:{entry.last}"


def stand_file_xml(f: StandFile) -> str:
    real, soft = quality_factors(f.stands, f.entries)
    params = [("icao", f.code), ("airport_name", f.name), ("publisher", f.publisher),
              ("altitude", str(f.altitude)), ("num_parkpos", str(len(f.stands))),
              ("Qf_real", str(real)), ("Qf_soft", str(soft))]
    meta = [("author", "Corvane_P3D"), ("version", FILE_VERSION), ("date", f.date),
            ("copyright", "Corvane developers; stands and occupancy made from public facts, see downloads/README.md"),
            ("sim", "3")]
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<root>"]
    lines += section("meta", [element(2, "info", [("name", k), ("value", v)]) for k, v in meta])
    lines += section("parameters", [element(2, "parameter", [("name", k), ("value", v)]) for k, v in params])
    body = []
    for s in f.stands:
        attrs = " ".join(f'{k}="{esc(v)}"' for k, v in [
            ("id", s.id), ("latitude", f"{s.lat:.6f}"), ("longitude", f"{s.lon:.6f}"),
            ("heading", f"{s.heading:.1f}"), ("radius", f"{s.radius:.1f}"), ("type", str(s.type))])
        opts = [element(3, "opt", [("airl", e.airline), ("type", e.type), ("soft", SOFT), ("day", str(e.day)),
                                   ("hh", hours_text(e)), ("cs", e.callsigns)])
                for e in f.entries.get(s.id, [])]
        if opts:
            body += [f"    <parkpos {attrs}>"] + opts + ["    </parkpos>"]
        else:
            body.append(f"    <parkpos {attrs} />")
    lines += section("parkpositions", body)
    lines.append("</root>")
    return "\n".join(lines) + "\n"
