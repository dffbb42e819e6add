"""Checks of the airport stand files of the download site."""

from __future__ import annotations

import re
import xml.etree.ElementTree as ET
from dataclasses import dataclass

from .geo import distance_m

HOURS = re.compile(r"(\d+)(?::(\d+))?")
MAX_FROM_AIRPORT_M = 5000.0  # a stand farther from the airport's reference point is misplaced
MIN_APART_M = 10.0  # two stands this close are one stand twice


@dataclass
class Reference:
    """What the stand files are checked against: the catalogue and the aircraft reference data."""
    positions: dict[str, tuple[float, float]]  # airport code -> reference position
    airlines: set[str]
    half_spans: dict[str, float]  # type -> half wingspan, metres


def check_stand_file(name: str, text: str, publisher: str, ref: Reference, errors: list[str]) -> None:
    code = name.removesuffix(".xml")
    where = f"{publisher}/{name}"
    root = ET.fromstring(text.encode("utf-8"))
    params = {p.get("name"): p.get("value") for p in root.findall("./parameters/parameter")}
    if params.get("icao") != code or params.get("publisher") != publisher:
        errors.append(f"{where}: icao '{params.get('icao')}' or publisher '{params.get('publisher')}' is wrong")
    if not re.fullmatch(r"-?\d+", params.get("altitude") or ""):
        errors.append(f"{where}: altitude '{params.get('altitude')}' is not whole feet")
    for factor in ("Qf_real", "Qf_soft"):
        if not re.fullmatch(r"\d{1,2}|100", params.get(factor) or ""):
            errors.append(f"{where}: {factor} '{params.get(factor)}' is not 0 to 100")
    home = ref.positions.get(code)
    if home is None:
        errors.append(f"{where}: {code} is not in the catalogue")
        return
    stands = root.findall("./parkpositions/parkpos")
    if not stands or params.get("num_parkpos") != str(len(stands)):
        errors.append(f"{where}: num_parkpos '{params.get('num_parkpos')}' but {len(stands)} stands")
    seen: dict[str, tuple[float, float]] = {}
    widest: list[tuple[str, float, float, float, str, float]] = []  # id, lat, lon, radius, type, half span
    for s in stands:
        sid = (s.get("id") or "").strip()
        lat, lon = float(s.get("latitude") or 0), float(s.get("longitude") or 0)
        radius, heading = float(s.get("radius") or 0), float(s.get("heading") or -1)
        if not sid or sid in seen:
            errors.append(f"{where}: stand id '{sid}' empty or repeated")
        if distance_m(lat, lon, *home) > MAX_FROM_AIRPORT_M:
            errors.append(f"{where}: stand {sid} is {distance_m(lat, lon, *home):.0f} m from the airport")
        for other, pos in seen.items():
            if distance_m(lat, lon, *pos) < MIN_APART_M:
                errors.append(f"{where}: stands {other} and {sid} are at the same place")
        seen[sid] = (lat, lon)
        if not (0 <= heading < 360 and 0 < radius <= 60):
            errors.append(f"{where}: stand {sid} heading {heading} or radius {radius}")
        check_entries(where, sid, radius, s.findall("opt"), ref, errors)
        spans = [(ref.half_spans[o.get("type")], o.get("type")) for o in s.findall("opt")
                 if o.get("type") in ref.half_spans]
        if spans:
            span, model = max(spans)
            widest.append((sid, lat, lon, radius, model, span))
    check_clearance(where, widest, errors)


def check_clearance(where: str, widest: list[tuple[str, float, float, float, str, float]],
                    errors: list[str]) -> None:
    """Stands whose radii do not make them neighbours are filled at the same time: the widest
    aircraft of each must then clear each other."""
    for i, (a, alat, alon, arad, amodel, aspan) in enumerate(widest):
        for b, blat, blon, brad, bmodel, bspan in widest[i + 1:]:
            apart = distance_m(alat, alon, blat, blon)
            neighbours = arad + brad > 1.1 * apart
            if not neighbours and aspan + bspan > apart:
                errors.append(f"{where}: stands {a} and {b} are {apart:.1f} m apart, too close for "
                              f"a {amodel} beside a {bmodel}")


def check_entries(where: str, sid: str, radius: float, opts: list[ET.Element], ref: Reference,
                  errors: list[str]) -> None:
    occupied: dict[int, set[int]] = {}
    for o in opts:
        airline, model, day = o.get("airl") or "", o.get("type") or "", o.get("day") or ""
        hours = HOURS.fullmatch(o.get("hh") or "")
        label = f"{where}: stand {sid} {airline} {model} day {day} hh {o.get('hh')}"
        if airline not in ref.airlines or model not in ref.half_spans:
            errors.append(f"{label}: airline or type unknown")
            continue
        if ref.half_spans[model] > radius:
            errors.append(f"{label}: a {model} does not fit a stand of radius {radius} m")
        if day not in {"1", "2", "3", "4", "5", "6", "7"} or not hours or not o.get("cs"):
            errors.append(f"{label}: bad day, hours or callsign")
            continue
        first, last = int(hours.group(1)), int(hours.group(2) or hours.group(1))
        if not (0 <= first < last <= 47 or first == last <= 47 and hours.group(2) is None):
            errors.append(f"{label}: hours are not one ascending range of 0 to 47")
            continue
        wanted = set(range(first, last + 1))
        if occupied.setdefault(int(day), set()) & wanted:
            errors.append(f"{label}: overlaps another aircraft")
        occupied[int(day)] |= wanted
