"""The hand-made sources of an airport's stands: rows of stands and the traffic that uses them.

A stand row is a line of equally spaced stands of one kind (for example one side of a pier):
ids, the first and the last stand's position, the heading of a parked aircraft's nose, radius,
parking type and the group whose traffic parks there. A traffic row is a daily pattern of one
airline at one group: how many stays, in which window of the UTC day, how long each lasts."""

from __future__ import annotations

import re
from dataclasses import dataclass

from .packages import DataError

ID_RANGE = re.compile(r"([A-Z]*)(\d+)-\1(\d+)(?:/(\d+))?([A-Z]*)")
HALF_HOURS_PER_DAY = 48

# Parking type codes of the scenery format that stock stand files use
PARKING_TYPES = {"ramp_ga": 1, "ramp_ga_small": 2, "ramp_ga_medium": 3, "ramp_ga_large": 4, "cargo": 5,
                 "gate_small": 8, "gate_medium": 9, "gate_heavy": 10}


@dataclass(frozen=True)
class Stand:
    id: str
    lat: float
    lon: float
    heading: float  # degrees
    radius: float  # metres
    type: int
    group: str


@dataclass(frozen=True)
class Traffic:
    group: str
    airline: str
    types: tuple[str, ...]
    per_day: int
    first: int  # half-hour of the first arrival
    last: int  # half-hour of the last arrival; before first: the window runs past midnight
    stay: int  # half-hours at the stand
    days: tuple[int, ...]
    number: int  # flight number of the first arrival; its departure is number + 1


def expand_ids(text: str) -> list[str]:
    """"D2-D16/2" is D2, D4 ... D16; "E2|E4" lists ids; anything else is one id."""
    if "|" in text:
        return [s.strip() for s in text.split("|")]
    m = ID_RANGE.fullmatch(text)
    if not m:
        return [text]
    prefix, first, last, step, suffix = m.group(1), int(m.group(2)), int(m.group(3)), int(m.group(4) or 1), m.group(5)
    if last < first:
        raise DataError(f"stand ids '{text}' run backwards")
    return [f"{prefix}{n}{suffix}" for n in range(first, last + 1, step)]


def stands_of(rows: list[dict[str, str]]) -> list[Stand]:
    stands = []
    for row in rows:
        ids = expand_ids(row["ids"])
        la1, lo1, la2, lo2 = (float(row[k]) for k in ("from_lat", "from_lon", "to_lat", "to_lon"))
        kind = row["type"]
        if kind not in PARKING_TYPES:
            raise DataError(f"stand row '{row['ids']}': unknown type '{kind}'")
        for i, stand_id in enumerate(ids):
            t = i / (len(ids) - 1) if len(ids) > 1 else 0.0
            stands.append(Stand(stand_id, la1 + (la2 - la1) * t, lo1 + (lo2 - lo1) * t, float(row["heading"]) % 360.0,
                                float(row["radius"]), PARKING_TYPES[kind], row["group"]))
    return stands


def half_hour(text: str) -> int:
    """"06:30" is half-hour 13 of the UTC day."""
    hours, minutes = (int(x) for x in text.split(":"))
    if not (0 <= hours < 24 and minutes in (0, 30)):
        raise DataError(f"'{text}' is not a half-hour of the day")
    return hours * 2 + minutes // 30


def traffic_of(rows: list[dict[str, str]]) -> list[Traffic]:
    traffic = []
    for row in rows:
        days = tuple(int(d) for d in row["days"])
        if not days or any(d < 1 or d > 7 for d in days):
            raise DataError(f"traffic row {row}: days must be digits 1 (Monday) to 7")
        traffic.append(Traffic(row["group"], row["airline"], tuple(row["types"].split("|")), int(row["per_day"]),
                               half_hour(row["first"]), half_hour(row["last"]), int(row["stay"]), days,
                               int(row["number"])))
    return traffic
