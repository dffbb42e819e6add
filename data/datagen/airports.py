"""The airport catalogue: OpenFlights, brought up to date by two OurAirports tables.

Only airports a pilot can rely on are kept: under their current ICAO code, open, with a
position and a known elevation. Everything left out is listed with the reason.
"""

from __future__ import annotations

import math
import re
import sqlite3
from dataclasses import dataclass, field

from .geo import distance_m
from .packages import DataError

ICAO_AIRPORT = re.compile(r"[A-Z0-9]{4}")
IATA_AIRPORT = re.compile(r"[A-Z0-9]{3}")
# An ICAO location indicator: four letters, the first a region letter (I, J, Q and X are not assigned).
ICAO_LOCATION = re.compile(r"[ABCDEFGHKLMNOPRSTUVWYZ][A-Z]{3}")

SAME_PLACE_M = 1000.0  # two records this close describe the same airfield
SAME_AIRPORT_M = 10000.0  # a record under our code farther away than this is another airport
NO_POSITION_DEG = 0.01  # 0°,0° is what the sources write for an unknown position
NOT_AIRFIELDS = {"heliport", "balloonport", "seaplane_base"}

# Reasons an airport is left out of the catalogue
CLOSED_BY_HAND = "closed (closed_airports.csv)"
CLOSED_BY_SOURCE = "closed (OurAirports)"
NO_POSITION = "no position"
NO_ELEVATION = "no elevation in any source"
OLD_CODE = "old code of {}"


Renames = dict[str, tuple[str, str]]  # old code -> (current code, name of the airport)
LeftOut = dict[str, tuple[str, str]]  # code -> (name, reason)


@dataclass
class Airport:
    code: str
    iata: str
    lat: float
    lon: float
    alt: float | None
    name: str


@dataclass(frozen=True)
class NewestRecord:
    """One airport of the newest, complete OurAirports table."""
    ident: str
    gps: str
    kind: str
    lat: float
    lon: float
    alt: float | None
    name: str

    @property
    def closed(self) -> bool:
        return self.kind == "closed"


@dataclass
class Catalogue:
    airports: list[Airport]
    left_out: list[tuple[str, str, str]]  # code, name, reason; sorted by code
    renamed: dict[str, str]  # old code -> current code
    stats: dict[str, int] = field(default_factory=dict)


def current_code(ident: str, gps: str) -> str | None:
    """The current ICAO code of an OurAirports record.

    OurAirports keeps an airport's first identifier as `ident` when its ICAO code changes
    (OKBK became OKKK) and records the current one as its GPS code."""
    ident, gps = ident.strip().upper(), gps.strip().upper()
    for code in (gps, ident):
        if ICAO_LOCATION.fullmatch(code):
            return code
    for code in (ident, gps):
        if ICAO_AIRPORT.fullmatch(code):
            return code
    return None


def known_elevation(value) -> float | None:
    """The elevation in feet, or None: the sources write 0 (or nothing) when they do not know it."""
    if value is None or str(value).strip() == "":
        return None
    feet = float(value)
    return None if feet == 0 or not math.isfinite(feet) else feet


class NewestTable:
    def __init__(self, records: list[NewestRecord]):
        self._by_code: dict[str, list[NewestRecord]] = {}
        self._grid: dict[tuple[int, int], list[NewestRecord]] = {}
        for r in records:
            for code in {r.ident.upper(), r.gps.upper()} - {""}:
                self._by_code.setdefault(code, []).append(r)
            self._grid.setdefault(self._cell(r.lat, r.lon), []).append(r)

    @staticmethod
    def _cell(lat: float, lon: float) -> tuple[int, int]:
        return math.floor(lat * 10), math.floor(lon * 10)  # 0.1° cells, wider than SAME_PLACE_M

    def knows(self, code: str) -> bool:
        return code in self._by_code

    def same_airport(self, code: str, lat: float, lon: float) -> NewestRecord | None:
        found = [(distance_m(lat, lon, r.lat, r.lon), r) for r in self._by_code.get(code, [])]
        found = [x for x in found if x[0] <= SAME_AIRPORT_M]
        return min(found, key=lambda x: x[0])[1] if found else None

    def closure(self, code: str, lat: float, lon: float) -> NewestRecord | None:
        """The record that says the airport of this code and place is closed, if any."""
        same = self.same_airport(code, lat, lon)
        if same is not None or self.knows(code):
            return same if same is not None and same.closed else None
        here = self.airfields_at(lat, lon)
        return here[0] if here and all(r.closed for r in here) else None

    def airfields_at(self, lat: float, lon: float) -> list[NewestRecord]:
        """Airfields (open or closed) within SAME_PLACE_M, nearest first."""
        cy, cx = self._cell(lat, lon)
        near = []
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                for r in self._grid.get((cy + dy, cx + dx), []):
                    d = distance_m(lat, lon, r.lat, r.lon)
                    if d <= SAME_PLACE_M and r.kind not in NOT_AIRFIELDS:
                        near.append((d, r.ident, r))
        return [r for _, _, r in sorted(near, key=lambda x: (x[0], x[1]))]


def newest_records(sqlite_bytes: bytes) -> list[NewestRecord]:
    con = sqlite3.connect(":memory:")
    try:
        con.deserialize(sqlite_bytes)
        rows = con.execute("SELECT icao, faa, type, latitude, longitude, elevation_ft, name FROM airports "
                           "ORDER BY id").fetchall()
    except sqlite3.Error as e:
        raise DataError(f"newest OurAirports table not readable: {e}") from e
    finally:
        con.close()
    return [NewestRecord(ident or "", gps or "", kind or "", float(lat), float(lon), known_elevation(alt), name or "")
            for ident, gps, kind, lat, lon, alt, name in rows]


def _iata(text) -> str:
    text = (text or "").strip().upper()
    return text if IATA_AIRPORT.fullmatch(text) else ""


def _from_openflights(openflights: list[dict], stats: dict) -> dict[str, Airport]:
    airports: dict[str, Airport] = {}
    for ap in sorted(openflights, key=lambda a: a["id"]):
        code = (ap.get("icao") or "").strip().upper()
        lat, lon = ap.get("latitude"), ap.get("longitude")
        if not ICAO_AIRPORT.fullmatch(code) or lat is None or lon is None:
            stats["skipped"] += 1
            continue
        if code in airports:
            raise DataError(f"OpenFlights lists {code} twice")
        airports[code] = Airport(code, _iata(ap.get("iata")), float(lat), float(lon),
                                 known_elevation(ap.get("altitude")), ap.get("name") or "")
        stats["openflights"] += 1
    return airports


def _rename(airports: dict[str, Airport], renamed: Renames, old: str, new: str) -> None:
    """Files the airport listed under its old code under the current one (or drops the duplicate)."""
    ap = airports.pop(old)
    renamed[old] = (new, ap.name)
    if new not in airports:
        ap.code = new
        airports[new] = ap


def _update_from_ourairports(airports: dict[str, Airport], ourairports: list[dict], renamed: Renames,
                             stats: dict) -> None:
    # OurAirports (large and medium airports) is newer than OpenFlights: positions, elevations, IATA codes
    seen: set[str] = set()
    for ap in sorted(ourairports, key=lambda a: int(a["id"])):
        code = current_code(ap.get("ident") or "", ap.get("gps_code") or "")
        if code is None or code in seen:
            continue
        seen.add(code)
        try:
            lat, lon = float(ap["latitude_deg"]), float(ap["longitude_deg"])
        except (KeyError, ValueError):
            continue
        ident = (ap.get("ident") or "").strip().upper()
        if ident != code and ident in airports:
            _rename(airports, renamed, ident, code)
        alt = known_elevation(ap.get("elevation_ft"))
        old = airports.get(code)
        if old is None:
            airports[code] = Airport(code, _iata(ap.get("iata_code")), lat, lon, alt, ap.get("name") or "")
            stats["ourairports_added"] += 1
            continue
        old.lat, old.lon = lat, lon
        old.alt = alt if alt is not None else old.alt
        old.iata = _iata(ap.get("iata_code")) or old.iata
        stats["ourairports_updated"] += 1


def _check_with_newest(airports: dict[str, Airport], newest: NewestTable, renamed: Renames,
                       left_out: LeftOut, stats: dict) -> None:
    for code in sorted(airports):
        ap = airports.get(code)
        if ap is None:
            continue
        if newest.closure(code, ap.lat, ap.lon) is not None:
            left_out[code] = (ap.name, CLOSED_BY_SOURCE)
            del airports[code]
            continue
        same = newest.same_airport(code, ap.lat, ap.lon)
        if same is not None:
            if ap.alt is None and same.alt is not None:
                ap.alt = same.alt
                stats["elevation_from_newest"] += 1
            continue
        if newest.knows(code):
            continue  # the code names an airport elsewhere: nothing sure to learn here
        # Unknown code, open airfield at this place: its code is the current one.
        open_here = [r for r in newest.airfields_at(ap.lat, ap.lon) if not r.closed]
        new = current_code(open_here[0].ident, open_here[0].gps) if open_here else None
        if new is None or new == code or not ICAO_LOCATION.fullmatch(new):
            continue
        _rename(airports, renamed, code, new)
        kept = airports[new]
        if kept.alt is None and open_here[0].alt is not None:
            kept.alt = open_here[0].alt
            stats["elevation_from_newest"] += 1


def build_catalogue(openflights: list[dict], ourairports: list[dict], newest: NewestTable,
                    closed_by_hand: set[str]) -> Catalogue:
    stats = {"openflights": 0, "ourairports_updated": 0, "ourairports_added": 0, "skipped": 0,
             "elevation_from_newest": 0}
    renamed: Renames = {}
    left_out: LeftOut = {}
    airports = _from_openflights(openflights, stats)
    _update_from_ourairports(airports, ourairports, renamed, stats)
    for code in sorted(closed_by_hand & set(airports)):
        left_out[code] = (airports.pop(code).name, CLOSED_BY_HAND)
    for code in sorted(airports):
        ap = airports[code]
        if abs(ap.lat) < NO_POSITION_DEG and abs(ap.lon) < NO_POSITION_DEG:
            left_out[code] = (airports.pop(code).name, NO_POSITION)
    _check_with_newest(airports, newest, renamed, left_out, stats)
    for code in sorted(airports):
        if airports[code].alt is None:
            left_out[code] = (airports.pop(code).name, NO_ELEVATION)
    # A code that came back for another airport is no longer an old code.
    old_codes = {old: new for old, (new, _) in renamed.items() if old not in airports}
    for old, new in old_codes.items():
        left_out.setdefault(old, (renamed[old][1], OLD_CODE.format(new)))
    stats["left_out"] = len(left_out)
    return Catalogue([airports[c] for c in sorted(airports)],
                     [(c, name, reason) for c, (name, reason) in sorted(left_out.items())], old_codes, stats)
