"""A week of stays at an airport's stands, from the daily traffic patterns.

Every traffic row gives its stays per day, spread over its window with a small fixed jitter;
each stay goes to a free stand of its group (the least used, among equals one the airline used
before), one half-hour apart from the stay before it. A stay that finds no free stand is dropped and counted.
Times are week slots: (weekday - 1) * 48 + half-hour, wrapping from Sunday to Monday."""

from __future__ import annotations

import zlib
from dataclasses import dataclass

from .standsrc import HALF_HOURS_PER_DAY, Stand, Traffic

WEEK = 7 * HALF_HOURS_PER_DAY
GAP = 1  # half-hours between one aircraft leaving and the next arriving


@dataclass(frozen=True)
class Stay:
    airline: str
    type: str
    start: int  # week slot of the arrival
    length: int  # half-hours
    arrival: str  # callsign
    departure: str

    def slots(self, gap: int = 0) -> set[int]:
        return {(self.start + k) % WEEK for k in range(-gap, self.length + gap)}


@dataclass(frozen=True)
class Entry:
    """One opt of a stand: an aircraft on one weekday for a range of half-hours."""
    airline: str
    type: str
    day: int
    first: int
    last: int
    callsigns: str


def jitter(*key: object, spread: int) -> int:
    """A fixed pseudo-random offset in 0 .. spread - 1: the same sources give the same week."""
    return zlib.crc32("|".join(map(str, key)).encode()) % spread if spread > 0 else 0


def stays_of(traffic: Traffic) -> list[Stay]:
    """The stays of a traffic row: per day, arrivals spread over the window (which may run past
    midnight into the next day)."""
    stays = []
    window = (traffic.last - traffic.first) % HALF_HOURS_PER_DAY
    step = window / traffic.per_day if traffic.per_day else 0
    for day in traffic.days:
        for i in range(traffic.per_day):
            offset = min(int(i * step) + jitter(traffic.airline, traffic.number, day, i, spread=max(int(step), 1)),
                         window)
            start = ((day - 1) * HALF_HOURS_PER_DAY + traffic.first + offset) % WEEK
            number = traffic.number + 2 * i
            stays.append(Stay(traffic.airline, traffic.types[i % len(traffic.types)], start, traffic.stay,
                              f"{traffic.airline}{number}", f"{traffic.airline}{number + 1}"))
    return stays


def assign(stands: list[Stand], traffic: list[Traffic]) -> tuple[dict[str, list[Stay]], int]:
    """Stays per stand id, and the number of stays dropped for want of a free stand."""
    by_group: dict[str, list[Stand]] = {}
    for s in stands:
        by_group.setdefault(s.group, []).append(s)
    taken: dict[str, set[int]] = {s.id: set() for s in stands}
    placed: dict[str, list[Stay]] = {s.id: [] for s in stands}
    last_user: dict[str, str] = {}
    dropped = 0
    rows = [(stay, t.group) for t in traffic for stay in stays_of(t)]
    for stay, group in sorted(rows, key=lambda r: (r[0].start, r[0].arrival)):
        wanted = stay.slots(GAP)
        free = [s for s in by_group.get(group, []) if not (taken[s.id] & wanted)]
        if not free:
            dropped += 1
            continue
        # the least used stand, so that the stays spread over the group; among equals the airline's own
        stand = min(free, key=lambda s: (len(taken[s.id]) // HALF_HOURS_PER_DAY, last_user.get(s.id) != stay.airline,
                                         len(taken[s.id])))
        taken[stand.id] |= stay.slots()
        placed[stand.id].append(stay)
        last_user[stand.id] = stay.airline
    return placed, dropped


def entries_of(stays: list[Stay]) -> list[Entry]:
    """The stays as opt entries: one per weekday that a stay touches, sorted by day and time."""
    entries = []
    for stay in stays:
        slots = sorted(stay.slots(), key=lambda s: ((s - stay.start) % WEEK))
        by_day: dict[int, list[int]] = {}
        for slot in slots:
            by_day.setdefault(slot // HALF_HOURS_PER_DAY + 1, []).append(slot % HALF_HOURS_PER_DAY)
        for day, hours in by_day.items():
            entries.append(Entry(stay.airline, stay.type, day, min(hours), max(hours),
                                 f"{stay.arrival}:{stay.departure}"))
    return sorted(entries, key=lambda e: (e.day, e.first, e.callsigns))
