"""Checks of the generated files; any failed check stops the script before anything is written.

The airport checks look at the written XML against the raw sources, not at the build's own
bookkeeping, so that a regression in the build shows up here."""

from __future__ import annotations

import math
import re
import xml.etree.ElementTree as ET
from dataclasses import dataclass
from pathlib import Path

from .airports import ICAO_AIRPORT, IATA_AIRPORT, NO_POSITION_DEG, NewestTable, current_code
from .dbase import ICAO_AIRLINE, TYPE_CODE
from .packages import PACKAGES, DataError
from .site import SIMADDON, STOCK, codes_in
from .standcheck import Reference, check_stand_file

MIN_AIRPORTS = 5000
MIN_WINGSPANS = 150
MIN_TYPES = 150


@dataclass
class Sources:
    """The raw inputs the generated files are checked against."""
    types: list[dict]
    ourairports: list[dict]
    newest: NewestTable
    closed_by_hand: set[str]
    site_files: dict[str, str]  # the download site's airport files: path below P3D/ -> text
    min_airports: int = MIN_AIRPORTS


def check(cond: bool, msg: str, errors: list[str]) -> None:
    if not cond:
        errors.append(msg)


def items(root: ET.Element, sec: str, elem: str, attr: str) -> list[str]:
    node = root.find(sec)
    if node is None:
        return []
    return [x for e in node.findall(elem) for x in (e.get(attr) or "").split(",") if x]


def check_airports(text: str, sources: Sources, errors: list[str]) -> set[str]:
    """Checks airports.xml; returns its codes."""
    root = ET.fromstring(text.encode("utf-8"))
    aps = root.findall("./airports/ap")
    check(root.tag == "root" and root.find("airports") is not None, "airports.xml: root/airports missing", errors)
    check(len(aps) >= sources.min_airports, f"airports.xml: only {len(aps)} airports", errors)
    codes = [a.get("c") or "" for a in aps]
    check(codes == sorted(set(codes)), "airports.xml: codes not sorted or not unique", errors)
    stock = codes_in(sources.site_files, STOCK)
    for a in aps:
        c = a.get("c") or ""
        check(bool(ICAO_AIRPORT.fullmatch(c)), f"airports.xml: bad ICAO code '{c}'", errors)
        i = a.get("i")
        check(i is None or bool(IATA_AIRPORT.fullmatch(i)), f"airports.xml: {c} bad IATA '{i}'", errors)
        try:
            la, lo, al = float(a.get("la")), float(a.get("lo")), float(a.get("a"))
        except (TypeError, ValueError):
            errors.append(f"airports.xml: {c} missing or bad la/lo/a")
            continue
        check(-90 <= la <= 90, f"airports.xml: {c} latitude {la}", errors)
        check(-180 <= lo <= 180, f"airports.xml: {c} longitude {lo}", errors)
        check(not (abs(la) < NO_POSITION_DEG and abs(lo) < NO_POSITION_DEG), f"airports.xml: {c} has no position",
              errors)
        # 0 is the sources' mark of an unknown elevation
        check(al != 0 and -1500 <= al <= 16000 and math.isfinite(al), f"airports.xml: {c} elevation {al}", errors)
        closed = sources.newest.closure(c, la, lo)
        check(closed is None, f"airports.xml: {c} is closed ({closed and closed.name})", errors)
        check(a.get("s") == ("1" if c in stock else "0"),
              f"airports.xml: {c} stand class '{a.get('s')}' does not match the stock airport files", errors)
    catalogue = set(codes)
    for c in sorted(sources.closed_by_hand & catalogue):
        errors.append(f"airports.xml: {c} is in closed_airports.csv")
    for ap in sources.ourairports:
        ident = (ap.get("ident") or "").strip().upper()
        code = current_code(ident, ap.get("gps_code") or "")
        if code and ident != code and ident in catalogue:
            # unless the newer table gives the airport that code again
            again = sources.newest.same_airport(ident, float(ap["latitude_deg"]), float(ap["longitude_deg"]))
            check(again is not None and current_code(again.ident, again.gps) == ident,
                  f"airports.xml: {ident} is the old code of {code}", errors)
    for c in sorted(stock - catalogue):
        errors.append(f"airports.xml: stock airport file {c}.xml has no airport in the catalogue")
    return catalogue


def check_dbase(text: str, sources: Sources, catalogue: set[str], errors: list[str]) -> None:
    root = ET.fromstring(text.encode("utf-8"))
    check(root.tag == "root", "dbase.xml: root element missing", errors)
    required = [("aircrafts", "aircraft", "types"), ("cargo_types", "cargo_type", "types"),
                ("heavy", "hvy", "types"), ("large", "lar", "types"), ("buzjet", "bzj", "types"),
                ("high_performance", "hpf", "types"), ("rotorcraft", "rot", "types"),
                ("ICAO_airlines", "ICAO", "codes"), ("cargo_operators", "ICAO", "codes"),
                ("simaddonsP3D", "simaddonP3D", "arpts")]
    for sec, elem, attr in required:
        check(root.find(sec) is not None, f"dbase.xml: section {sec} missing", errors)
        check(len(items(root, sec, elem, attr)) > 0, f"dbase.xml: section {sec} is empty", errors)
    models = items(root, "aircrafts", "aircraft", "types")
    model_set = set(models)
    check(len(models) == len(model_set), "dbase.xml: duplicate type codes in aircrafts", errors)
    check(len(models) >= MIN_TYPES, f"dbase.xml: only {len(models)} types", errors)
    for m in models:
        check(bool(TYPE_CODE.fullmatch(m)), f"dbase.xml: bad type code '{m}'", errors)
    listed: dict[str, list[str]] = {}
    for sec, elem in [("cargo_types", "cargo_type"), ("heavy", "hvy"), ("large", "lar"), ("buzjet", "bzj"),
                      ("high_performance", "hpf"), ("rotorcraft", "rot")]:
        listed[sec] = items(root, sec, elem, "types")
    listed["similar_types"] = items(root, "similar_types", "similar", "types")
    listed["wingspans"] = [w.get("type") or "" for w in root.findall("./wingspans/wingspan")]
    listed["fixes"] = [f.get("cor") or "" for f in root.findall("./fixes/fx")]
    for sec, ts in listed.items():
        for t in ts:
            check(t in model_set, f"dbase.xml: {sec} lists '{t}', which is not in aircrafts", errors)
    cats: dict[str, int] = {}
    for sec in ("heavy", "large", "buzjet", "high_performance", "rotorcraft"):
        for t in listed[sec]:
            cats[t] = cats.get(t, 0) + 1
    check(all(v == 1 for v in cats.values()), "dbase.xml: a type is in more than one category", errors)
    spans = root.findall("./wingspans/wingspan")
    check(len(spans) >= MIN_WINGSPANS, f"dbase.xml: only {len(spans)} wingspans (need {MIN_WINGSPANS})", errors)
    span_types = [w.get("type") for w in spans]
    check(len(span_types) == len(set(span_types)), "dbase.xml: a type has two wingspans", errors)
    for w in spans:
        m = float(w.get("meters") or "nan")
        check(5.0 <= m <= 90.0, f"dbase.xml: wingspan of {w.get('type')} is {m} m", errors)
    wrong = [f.get("wro") for f in root.findall("./fixes/fx")]
    check(len(wrong) == len(set(wrong)), "dbase.xml: a wrong code is fixed twice", errors)
    for w in wrong:
        check(w not in model_set, f"dbase.xml: fix of '{w}', which is itself a type code", errors)
    airlines = items(root, "ICAO_airlines", "ICAO", "codes")
    airline_set = set(airlines)
    for a in airlines:
        check(bool(ICAO_AIRLINE.fullmatch(a)), f"dbase.xml: bad airline code '{a}'", errors)
    for c in items(root, "cargo_operators", "ICAO", "codes"):
        check(c in airline_set, f"dbase.xml: cargo operator {c} is not in ICAO_airlines", errors)
    # The add-on scan links these airports to the site's simaddon files: a missing file is a dead link.
    simaddon_files = codes_in(sources.site_files, SIMADDON)
    for a in items(root, "simaddonsP3D", "simaddonP3D", "arpts"):
        check(a in catalogue, f"dbase.xml: simaddon airport {a} is not in airports.xml", errors)
        check(a in simaddon_files, f"dbase.xml: simaddon airport {a} has no archive/simaddon/{a}.xml", errors)
    members = [m for g in root.findall("./prefixes/similar") for m in (g.get("types") or "").split(",") if m]
    check(len(members) == len(set(members)), "dbase.xml: a prefix is in two groups", errors)
    for m in members:
        check(bool(re.fullmatch(r"[A-Z0-9]{1,3}-|[A-Z]", m)), f"dbase.xml: bad prefix '{m}'", errors)
    for t in sources.types:
        check(t["category"] in {"0", "1", "2", "3", "4", "5"}, f"aircraft_types.csv: {t['type']} category", errors)


def check_regcodes(text: str, errors: list[str]) -> None:
    root = ET.fromstring(text.encode("utf-8"))
    recs = root.findall("./aig/l")
    check(root.tag == "root" and root.find("aig") is not None, "AIG-regcodes.xml: root/aig missing", errors)
    titles = [r.get("t") for r in recs]
    check(all(titles) and len(titles) == len(set(titles)), "AIG-regcodes.xml: empty or duplicate title", errors)
    for r in recs:
        for reg in (r.get("r") or "").split(","):
            check(3 <= len(reg) <= 12, f"AIG-regcodes.xml: registration '{reg}' length", errors)
        check(r.get("s") in ("true", "false"), f"AIG-regcodes.xml: special flag '{r.get('s')}'", errors)


def check_notice(text: str, errors: list[str]) -> None:
    """Every source of the shipped data is named in NOTICE with its licence and its data."""
    for package in PACKAGES.values():
        check(bool(package.licence and package.data), f"NOTICE: {package.name} has no licence or data text", errors)
        check(f"{package.name} {package.version}" in text and package.licence in text,
              f"NOTICE: {package.name} {package.version} or its licence is missing", errors)
    check("data/airports.xml" in text, "NOTICE: does not say where the unencrypted data is", errors)


def raise_errors(errors: list[str]) -> None:
    if errors:
        raise DataError("validation failed:\n  " + "\n  ".join(errors[:50])
                        + (f"\n  ... and {len(errors) - 50} more" if len(errors) > 50 else ""))


def reference_of(airports_text: str, dbase_text: str) -> Reference:
    airports = ET.fromstring(airports_text.encode("utf-8")).findall("./airports/ap")
    dbase = ET.fromstring(dbase_text.encode("utf-8"))
    return Reference({a.get("c"): (float(a.get("la")), float(a.get("lo"))) for a in airports},
                     set(items(dbase, "ICAO_airlines", "ICAO", "codes")),
                     {w.get("type"): float(w.get("meters")) / 2 for w in dbase.findall("./wingspans/wingspan")})


def validate(airports_text: str, dbase_text: str, regcodes_text: str, notice: str, sources: Sources) -> None:
    errors: list[str] = []
    check_notice(notice, errors)
    catalogue = check_airports(airports_text, sources, errors)
    check_dbase(dbase_text, sources, catalogue, errors)
    check_regcodes(regcodes_text, errors)
    if not errors:
        ref = reference_of(airports_text, dbase_text)
        for path, text in sorted(sources.site_files.items()):
            group, name = Path(path).parent.name, Path(path).name
            check_stand_file(name, text, group, ref, errors)
    raise_errors(errors)
