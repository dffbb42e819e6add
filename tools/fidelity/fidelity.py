#!/usr/bin/env python3
"""Measures how closely the AI aircraft in the simulator follow the real aircraft they stand for.

    fidelity.py compare RECORDING TRACKS --out DIR [--delay 30] [--offset 0]
    fidelity.py run RECORDING --install DIR --out DIR [--seconds 180] [--delay 30]

compare: RECORDING is an rt-feed recording (the truth, tools/rt-feed/RECORDING.md), TRACKS the
stand-in simulator's standin-tracks.csv (what the simulator was told). The simulator should show
at time t where the aircraft really was at t - delay; --offset is what to add to the recording's
times to get the simulator's (0 when the recording was replayed with --align sim).

run: plays RECORDING to the installed program against the stand-in simulator under Xvfb, then
compares. See README.md.
"""
import argparse
import bisect
import csv
import json
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

REPOSITORY = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(REPOSITORY, "tools", "download_site"))
sys.path.insert(0, os.path.join(REPOSITORY, "tools", "geo"))
from serve import start_site  # noqa: E402  (found through the paths above)
from earth import EARTH_RADIUS_M, bearing_deg, distance_m  # noqa: E402

KNOT_MPS = 1852.0 / 3600.0
SLIDE_MIN_KNOTS = 3.0
SLIDE_MAX_DEGREES = 10.0
# Vertical speed and sliding are judged over spans of at least this long: single updates a few
# centimetres apart say nothing about direction or climb.
SPAN_SECONDS = 1.0
# Truth is not interpolated across gaps longer than this: the recorder lost the aircraft there.
MAX_TRUTH_GAP_SECONDS = 120.0


# ---------------------------------------------------------------------------------------------
# Geometry and statistics

def angle_diff(a, b):
    """The smaller turn from b to a, in degrees, signed."""
    return (a - b + 180.0) % 360.0 - 180.0


def percentile(values, fraction):
    if not values:
        return None
    ordered = sorted(values)
    position = fraction * (len(ordered) - 1)
    low = math.floor(position)
    high = min(low + 1, len(ordered) - 1)
    return ordered[low] + (ordered[high] - ordered[low]) * (position - low)


def stats(values, *which):
    out = {}
    for name in which:
        if name == "max":
            out[name] = max(values) if values else None
        elif name == "median":
            out[name] = percentile(values, 0.5)
        elif name == "p95":
            out[name] = percentile(values, 0.95)
    return out


# ---------------------------------------------------------------------------------------------
# Inputs

class Report:
    __slots__ = ("time", "lat", "lon", "alt", "ground", "track", "gs")

    def __init__(self, time_, lat, lon, alt, ground, track=0.0, gs=0.0):
        self.time, self.lat, self.lon, self.alt, self.ground = time_, lat, lon, alt, ground
        self.track, self.gs = track, gs


class Aircraft:
    """One real aircraft of the recording: its names and its reports in time order."""

    def __init__(self, hexid):
        self.hexid = hexid
        self.registration = ""
        self.callsign = ""
        self.type = ""
        self.reports = []
        self._times = None

    @property
    def name(self):
        return self.registration or self.callsign or f"hex {self.hexid:06x}"

    def times(self):
        if self._times is None:
            self._times = [r.time for r in self.reports]
        return self._times

    def at(self, t):
        """The truth at recording time t, interpolated; None outside the reports or in a gap."""
        times = self.times()
        if not times or t < times[0] or t > times[-1]:
            return None
        if len(times) == 1:
            a = b = self.reports[0]
        else:
            i = min(max(bisect.bisect_right(times, t), 1), len(times) - 1)
            a, b = self.reports[i - 1], self.reports[i]
        if b.time - a.time > MAX_TRUTH_GAP_SECONDS:
            return None
        f = 0.0 if b.time == a.time else (t - a.time) / (b.time - a.time)
        # Longitudes across the antimeridian take the short way.
        dlon = angle_diff(b.lon, a.lon)
        return (a.lat + (b.lat - a.lat) * f, (a.lon + dlon * f + 180.0) % 360.0 - 180.0,
                a.alt + (b.alt - a.alt) * f, a.ground if f < 0.5 else b.ground)


def read_recording(path):
    aircraft = {}
    with open(path, newline="") as f:
        rows = csv.reader(line for line in f if not line.startswith("#"))
        header = next(rows)
        col = {name: i for i, name in enumerate(header)}
        for row in rows:
            if not row:
                continue
            get = lambda name: row[col[name]] if col.get(name) is not None and col[name] < len(row) else ""
            hexid = int(float(get("hexid") or 0))
            plane = aircraft.setdefault(hexid, Aircraft(hexid))
            plane.registration = get("registration").strip() or plane.registration
            plane.callsign = get("callsign").strip() or plane.callsign
            plane.type = get("type").strip() or plane.type
            plane.reports.append(Report(float(get("time")), float(get("lat")), float(get("lon")),
                                        float(get("alt") or 0), get("ground").strip() == "1",
                                        float(get("track") or 0), float(get("gs") or 0)))
    for plane in aircraft.values():
        plane.reports.sort(key=lambda r: r.time)
    return list(aircraft.values())


class TrackPoint:
    __slots__ = ("time", "lat", "lon", "alt", "pitch", "bank", "heading", "ground")

    def __init__(self, row):
        self.time = float(row["time"])
        self.lat, self.lon = float(row["latitude"]), float(row["longitude"])
        self.alt = float(row["altitude_ft"])
        self.pitch, self.bank = float(row["pitch_deg"]), float(row["bank_deg"])
        self.heading = float(row["heading_deg"])
        self.ground = row["on_ground"].strip() == "1"


class Track:
    def __init__(self, object_id, atc_id, title):
        self.object_id, self.atc_id, self.title = object_id, atc_id, title
        self.points = []


def read_tracks(path):
    tracks = {}
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            object_id = int(row["object"])
            track = tracks.setdefault(object_id, Track(object_id, row["atc_id"], row["title"]))
            track.points.append(TrackPoint(row))
    for track in tracks.values():
        track.points.sort(key=lambda p: p.time)
    return [tracks[k] for k in sorted(tracks)]


# ---------------------------------------------------------------------------------------------
# Pairing

def normalised(name):
    return "".join(c for c in name.upper() if c.isalnum())


def pair(tracks, aircraft, shift):
    """Each track with the recorded aircraft it stands for: the program gives an AI object the
    registration as its tail number, or the callsign when there is none, so either may match;
    when several aircraft match, the one whose (shifted) reports overlap the track most."""
    by_name = {}
    for plane in aircraft:
        for name in {normalised(plane.registration), normalised(plane.callsign)} - {""}:
            by_name.setdefault(name, []).append(plane)
    pairs, unpaired = [], []
    for track in tracks:
        candidates = by_name.get(normalised(track.atc_id), [])
        if not candidates or not track.points:
            unpaired.append(track)
            continue

        def overlap(plane):
            start = max(plane.reports[0].time + shift, track.points[0].time)
            end = min(plane.reports[-1].time + shift, track.points[-1].time)
            return end - start

        pairs.append((track, max(candidates, key=overlap)))
    return pairs, unpaired


# ---------------------------------------------------------------------------------------------
# Measures

def spans(points, seconds):
    """Consecutive pairs of points at least `seconds` apart, each starting where the last ended."""
    out = []
    i = 0
    for j in range(1, len(points)):
        if points[j].time - points[i].time >= seconds:
            out.append((points[i], points[j]))
            i = j
    return out


def measure(track, plane, shift):
    """Every sample of every measure for one track against its truth, by phase ("air", "ground"):
    the phase is the real aircraft's at that moment. `shift` takes recording times to track times."""
    samples = {phase: {"position_m": [], "jump_m": [], "step_m": [], "heading_rate": [], "bank_rate": [],
                       "pitch_rate": [], "vs_diff_fpm": [], "slide_deg": [], "moving_ground_s": 0.0,
                       "sliding_s": 0.0, "pushback_s": 0.0} for phase in ("air", "ground")}
    truth_at = {}
    for p in track.points:
        truth_at[p.time] = plane.at(p.time - shift)
    worst_jump = None
    outside = 0
    for p in track.points:
        truth = truth_at[p.time]
        if truth is None:
            outside += 1
            continue
        phase = "ground" if truth[3] else "air"
        samples[phase]["position_m"].append(distance_m(p.lat, p.lon, truth[0], truth[1]))
    for a, b in zip(track.points, track.points[1:]):
        truth = truth_at[b.time]
        phase = "ground" if (truth[3] if truth else b.ground) else "air"
        s = samples[phase]
        step = distance_m(a.lat, a.lon, b.lat, b.lon)
        s["step_m"].append(step)
        # A jump is the part of a step that the real aircraft's own motion over the same time does
        # not explain: a frame the simulator was late with is no jump, a position out of line is.
        ta = truth_at[a.time]
        moved = distance_m(ta[0], ta[1], truth[0], truth[1]) if ta and truth else 0.0
        jump = max(0.0, step - moved)
        s["jump_m"].append(jump)
        if worst_jump is None or jump > worst_jump["metres"]:
            worst_jump = {"metres": jump, "from_time": a.time, "to_time": b.time}
        dt = b.time - a.time
        if dt > 0:
            s["heading_rate"].append(abs(angle_diff(b.heading, a.heading)) / dt)
            s["bank_rate"].append(abs(angle_diff(b.bank, a.bank)) / dt)
            s["pitch_rate"].append(abs(angle_diff(b.pitch, a.pitch)) / dt)
    for a, b in spans(track.points, SPAN_SECONDS):
        dt = b.time - a.time
        ta, tb = truth_at[a.time], truth_at[b.time]
        phase = "ground" if (tb[3] if tb else b.ground) else "air"
        s = samples[phase]
        if ta and tb:
            s["vs_diff_fpm"].append(((b.alt - a.alt) - (tb[2] - ta[2])) / dt * 60.0)
        if a.ground and b.ground:
            metres = distance_m(a.lat, a.lon, b.lat, b.lon)
            if metres / dt > SLIDE_MIN_KNOTS * KNOT_MPS:
                moving = bearing_deg(a.lat, a.lon, b.lat, b.lon)
                off = max(abs(angle_diff(a.heading, moving)), abs(angle_diff(b.heading, moving)))
                backwards = max(abs(angle_diff(a.heading + 180.0, moving)),
                                abs(angle_diff(b.heading + 180.0, moving)))
                s["moving_ground_s"] += dt
                if backwards <= SLIDE_MAX_DEGREES:
                    s["pushback_s"] += dt  # tail first along the nose line: a pushback, no slide
                else:
                    s["slide_deg"].append(off)
                    if off > SLIDE_MAX_DEGREES:
                        s["sliding_s"] += dt
    return samples, worst_jump, outside


def summarise(samples):
    out = {}
    for phase, s in samples.items():
        out[phase] = {
            "position_error_m": dict(stats(s["position_m"], "median", "p95", "max"), points=len(s["position_m"])),
            "largest_jump_m": max(s["jump_m"]) if s["jump_m"] else None,
            "largest_step_m": max(s["step_m"]) if s["step_m"] else None,
            "heading_rate_dps": stats(s["heading_rate"], "max", "p95"),
            "bank_rate_dps": stats(s["bank_rate"], "max", "p95"),
            "pitch_rate_dps": stats(s["pitch_rate"], "max", "p95"),
            "vertical_speed_diff_fpm": stats([abs(v) for v in s["vs_diff_fpm"]], "median", "p95"),
        }
        if phase == "ground":
            out[phase]["sliding"] = {
                "moving_seconds": s["moving_ground_s"],
                "sliding_seconds": s["sliding_s"],
                "pushback_seconds": s["pushback_s"],
                "worst_heading_off_movement_deg": max(s["slide_deg"]) if s["slide_deg"] else None,
                "sliding": s["sliding_s"] > 0,
            }
    return out


def merge(all_samples):
    merged = {phase: {} for phase in ("air", "ground")}
    for samples in all_samples:
        for phase, s in samples.items():
            for key, value in s.items():
                if isinstance(value, list):
                    merged[phase].setdefault(key, []).extend(value)
                else:
                    merged[phase][key] = merged[phase].get(key, 0.0) + value
    for phase in merged.values():
        for key in ("position_m", "jump_m", "step_m", "heading_rate", "bank_rate", "pitch_rate", "vs_diff_fpm",
                    "slide_deg"):
            phase.setdefault(key, [])
        phase.setdefault("moving_ground_s", 0.0)
        phase.setdefault("sliding_s", 0.0)
        phase.setdefault("pushback_s", 0.0)
    return merged


# ---------------------------------------------------------------------------------------------
# Pictures

def svg_picture(title, track, plane, shift):
    """A map of the truth (grey) and the injected track (red) over the track's time, and both
    altitudes over that time."""
    t0, t1 = track.points[0].time, track.points[-1].time
    truth = [r for r in plane.reports if t0 - 60 <= r.time + shift <= t1 + 60]
    lats = [p.lat for p in track.points] + [r.lat for r in truth]
    lons = [p.lon for p in track.points] + [r.lon for r in truth]
    mid_lat, mid_lon = (min(lats) + max(lats)) / 2, (min(lons) + max(lons)) / 2
    kx = math.cos(math.radians(mid_lat))
    width_deg = 1.1 * max((max(lons) - min(lons)) * kx, max(lats) - min(lats), 1e-5)
    size, pad = 460, 20

    def map_xy(lat, lon):  # north up, centred, the same scale both ways
        x = pad + size / 2 + (lon - mid_lon) * kx / width_deg * size
        y = pad + size / 2 - (lat - mid_lat) / width_deg * size
        return f"{x:.1f},{y:.1f}"

    alts = [p.alt for p in track.points] + [r.alt for r in truth]
    amin, amax = min(alts), max(alts)
    arange = max(amax - amin, 100.0)
    ax0, aw, ah = 520, 460, 460
    tmin = min([t0] + [r.time + shift for r in truth])
    tmax = max([t1] + [r.time + shift for r in truth])
    trange = max(tmax - tmin, 1.0)

    def alt_xy(t, alt):
        return f"{ax0 + (t - tmin) / trange * aw:.1f},{pad + ah - (alt - amin) / arange * ah:.1f}"

    metres = width_deg * math.pi / 180 * EARTH_RADIUS_M
    esc = lambda s: s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="1000" height="540" font-family="sans-serif" font-size="12">',
        '<rect width="1000" height="540" fill="white"/>',
        f'<rect x="{pad}" y="{pad}" width="{size}" height="{size}" fill="none" stroke="#ccc"/>',
        f'<rect x="{ax0}" y="{pad}" width="{aw}" height="{ah}" fill="none" stroke="#ccc"/>',
        f'<polyline fill="none" stroke="#888" stroke-width="3" points="{" ".join(map_xy(r.lat, r.lon) for r in truth)}"/>',
        f'<polyline fill="none" stroke="red" stroke-width="1" points="{" ".join(map_xy(p.lat, p.lon) for p in track.points)}"/>',
        f'<polyline fill="none" stroke="#888" stroke-width="3" points="{" ".join(alt_xy(r.time + shift, r.alt) for r in truth)}"/>',
        f'<polyline fill="none" stroke="red" stroke-width="1" points="{" ".join(alt_xy(p.time, p.alt) for p in track.points)}"/>',
        f'<text x="{pad}" y="{pad + size + 16}">map: {metres:.0f} m across; grey the truth {shift:+.0f} s, red the simulator</text>',
        f'<text x="{ax0}" y="{pad + ah + 16}">altitude {amin:.0f} to {amax:.0f} ft over {trange:.0f} s</text>',
        f'<text x="{pad}" y="14">{esc(title)}</text>',
        '</svg>',
    ]
    return "\n".join(parts) + "\n"


# ---------------------------------------------------------------------------------------------
# compare

def fmt(value, digits=1):
    return "-" if value is None else f"{value:.{digits}f}"


def text_block(name, summary):
    lines = [name]
    for phase in ("air", "ground"):
        s = summary[phase]
        pe = s["position_error_m"]
        if pe["points"] == 0 and s["largest_jump_m"] is None:
            lines.append(f"  {phase}: no points")
            continue
        lines.append(f"  {phase}: position error m median {fmt(pe['median'])} p95 {fmt(pe['p95'])} "
                     f"max {fmt(pe['max'])} ({pe['points']} points); largest jump {fmt(s['largest_jump_m'])} m")
        rates = "; ".join(f"{what} max {fmt(s[what + '_rate_dps']['max'])} p95 {fmt(s[what + '_rate_dps']['p95'])}"
                          for what in ("heading", "bank", "pitch"))
        lines.append(f"    rates deg/s: {rates}")
        vs = s["vertical_speed_diff_fpm"]
        lines.append(f"    vertical speed difference ft/min: median {fmt(vs['median'], 0)} p95 {fmt(vs['p95'], 0)}")
        if phase == "ground":
            sl = s["sliding"]
            verdict = "SLIDING" if sl["sliding"] else "no sliding"
            lines.append(f"    {verdict}: {fmt(sl['sliding_seconds'])} s of {fmt(sl['moving_seconds'])} s moving "
                         f"with heading more than {SLIDE_MAX_DEGREES:.0f} deg off the movement "
                         f"(worst {fmt(sl['worst_heading_off_movement_deg'])} deg); "
                         f"{fmt(sl['pushback_seconds'])} s moving tail first (pushback)")
    return lines


def safe_name(text):
    return "".join(c if c.isalnum() or c in "-_" else "_" for c in text) or "unnamed"


def compare(recording, tracks_path, out, delay=30.0, offset=0.0, echo=True):
    """Writes summary.txt, summary.json and one SVG per paired track into out; returns the
    summary."""
    os.makedirs(out, exist_ok=True)
    aircraft = read_recording(recording)
    tracks = read_tracks(tracks_path) if os.path.exists(tracks_path) else []
    shift = offset + delay
    result = {"recording": os.path.abspath(recording), "tracks": os.path.abspath(tracks_path),
              "delay_s": delay, "offset_s": offset, "recorded_aircraft": len(aircraft),
              "ai_objects": len(tracks), "aircraft": [], "unpaired_objects": []}
    lines = [f"truth: {recording} ({len(aircraft)} aircraft), shown {delay:g} s late"
             + (f", recording times {offset:+.3f} s" if offset else ""),
             f"simulator: {tracks_path}"]
    if not os.path.exists(tracks_path):
        lines.append("NO TRACK FILE: the stand-in simulator wrote no standin-tracks.csv")
        result["verdict"] = "no track file"
    elif not tracks:
        lines.append("NO AI OBJECTS: the simulator received no AI aircraft, so there is nothing to compare")
        result["verdict"] = "no AI objects"
    pairs, unpaired = pair(tracks, aircraft, shift)
    all_samples = []
    for track, plane in pairs:
        samples, worst_jump, outside = measure(track, plane, shift)
        all_samples.append(samples)
        name = f"{track.atc_id} (object {track.object_id})"
        summary = summarise(samples)
        picture = f"{safe_name(track.atc_id)}_{track.object_id}.svg"
        with open(os.path.join(out, picture), "w") as f:
            f.write(svg_picture(f"{name}: {track.title} / real {plane.name} {plane.type}", track, plane, shift))
        result["aircraft"].append({"object": track.object_id, "atc_id": track.atc_id, "title": track.title,
                                   "registration": plane.registration, "callsign": plane.callsign,
                                   "hexid": plane.hexid, "points": len(track.points),
                                   "points_outside_truth": outside, "worst_jump": worst_jump,
                                   "picture": picture, **summary})
        lines.extend(text_block(f"{name} = {plane.name}, {len(track.points)} points"
                                + (f", {outside} outside the truth" if outside else ""), summary))
    for track in unpaired:
        result["unpaired_objects"].append({"object": track.object_id, "atc_id": track.atc_id, "title": track.title})
        lines.append(f"{track.atc_id} (object {track.object_id}): no recorded aircraft has this registration or callsign")
    if pairs:
        overall = summarise(merge(all_samples))
        result["overall"] = overall
        result.setdefault("verdict", "compared")
        lines.extend(text_block(f"OVERALL: {len(pairs)} AI objects against the truth", overall))
    elif tracks:
        result.setdefault("verdict", "no AI object paired")
        lines.append("NO AI OBJECT PAIRED with a recorded aircraft")
    with open(os.path.join(out, "summary.json"), "w") as f:
        json.dump(result, f, indent=2)
    with open(os.path.join(out, "summary.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    if echo:
        print("\n".join(lines))
    return result


# ---------------------------------------------------------------------------------------------
# run

def read_airports(path):
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        return []
    return [(ap.get("c"), float(ap.get("la")), float(ap.get("lo"))) for ap in root.iter("ap")]


def ground_elevation(aircraft, start, end):
    """The flat ground of the stand-in world, in the recording's pressure altitudes (on a day of
    high pressure a departing aircraft is reported below its field's real elevation, and the
    simulator would put it on the ground). Where an aircraft is seen landing or lifting off, the
    field lies just below its airborne reports of the half minute around that moment: a ground
    much lower would keep a landing aircraft flying long after its real touchdown. Otherwise
    just below the lowest reported airborne altitude."""
    airborne = [r.alt for plane in aircraft for r in plane.reports if start <= r.time <= end and not r.ground]
    if not airborne:
        return 0.0
    near_field = []
    for plane in aircraft:
        ground_times = [r.time for r in plane.reports if r.ground and start <= r.time <= end]
        near_field += [r.alt for r in plane.reports
                       if start <= r.time <= end and not r.ground
                       and any(abs(r.time - t) <= 30.0 for t in ground_times)]
    if near_field:
        return max(0.0, min(near_field) - 25.0)
    return max(0.0, min(airborne) - 100.0)


def centre_airport(aircraft, start, end, airports):
    """The airport nearest the middle of the recording's traffic between start and end (median
    position of its reports, ground reports preferred: that is where the airport is)."""
    reports = [r for plane in aircraft for r in plane.reports if start <= r.time <= end]
    chosen = [r for r in reports if r.ground] or reports
    lat = percentile([r.lat for r in chosen], 0.5)
    lon = percentile([r.lon for r in chosen], 0.5)
    if not airports:
        return None, lat, lon
    code, alat, alon = min(airports, key=lambda a: distance_m(lat, lon, a[1], a[2]))
    return code, alat, alon


def recorded_stands(aircraft, start, end):
    """Where the recording's aircraft stood still on the ground (reported below half a knot, within
    3 m) for half a minute or more until they moved or their next report came, between start and
    end or in the hour before (where a departure waited): (lat, lon, heading), one place for all
    stops within 40 m of each other."""
    stands = []
    for plane in aircraft:
        reports = [r for r in plane.reports if start - 3600.0 <= r.time <= end]
        i = 0
        while i < len(reports):
            first = reports[i]
            j = i
            while j + 1 < len(reports) and reports[j + 1].ground and reports[j + 1].gs < 0.5 and \
                    distance_m(first.lat, first.lon, reports[j + 1].lat, reports[j + 1].lon) <= 3.0:
                j += 1
            until = reports[j + 1].time if j + 1 < len(reports) else reports[j].time
            stood = first.ground and first.gs < 0.5 and until - first.time >= 30.0
            if stood and all(distance_m(first.lat, first.lon, lat, lon) > 40.0 for lat, lon, _ in stands):
                stands.append((first.lat, first.lon, first.track))
            i = j + 1
    return stands


def write_airport_file(path, code, altitude_ft, stands):
    """A stand file for an airport the download site has none for, with the stands where the
    recording's aircraft stood: the airport becomes the park airport, whose ground traffic the
    program keeps, and an aircraft waiting at a stand is created on it."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<root>", "  <parameters>",
             f'    <parameter name="icao" value="{code}" />',
             f'    <parameter name="airport_name" value="{code} (stands from a recording)" />',
             '    <parameter name="publisher" value="fidelity" />',
             f'    <parameter name="altitude" value="{altitude_ft:.0f}" />',
             f'    <parameter name="num_parkpos" value="{len(stands)}" />',
             "  </parameters>", "  <parkpositions>"]
    for number, (lat, lon, heading) in enumerate(stands, 1):
        lines.append(f'    <parkpos id="R{number}" latitude="{lat:.6f}" longitude="{lon:.6f}" '
                     f'heading="{heading:.1f}" radius="30.0" type="9">')
        lines.append("    </parkpos>")
    lines += ["  </parkpositions>", "</root>", ""]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write("\n".join(lines))


def write_replay(source, destination, start, end, shift):
    """The recording's reports between start and end, their times moved by shift."""
    with open(source, newline="") as f:
        lines = [line for line in f if not line.startswith("#")]
    rows = csv.reader(lines)
    header = next(rows)
    at = header.index("time")
    with open(destination, "w", newline="") as out:
        out.write(f"# {os.path.basename(source)} from {start:.2f} to {end:.2f}, times moved by {shift:+.3f} s\n")
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(header)
        for row in rows:
            if row and start <= float(row[at]) <= end:
                row[at] = f"{float(row[at]) + shift:.2f}"
                writer.writerow(row)


def install_aircraft(folder, model, titles):
    """An installed aircraft with one generic livery (airline ZZZ) per title, and the model,
    texture and flight model files the program's livery scan looks for."""
    os.makedirs(os.path.join(folder, "model"), exist_ok=True)
    os.makedirs(os.path.join(folder, "texture"), exist_ok=True)
    open(os.path.join(folder, "jet.air"), "w").close()
    with open(os.path.join(folder, "aircraft.cfg"), "w") as f:
        f.write(f"[General]\natc_model={model}\n\n")
        for number, title in enumerate(titles):
            f.write(f"[fltsim.{number}]\ntitle={title}\nsim=jet\nmodel=\ntexture=\natc_parking_codes=ZZZ\n\n")


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1000x24",
                               "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    return server, ":" + number


def run(recording, install, out, seconds=180.0, delay=30.0, start=None, port=None):
    out = os.path.abspath(out)
    for needed in ("corvane", "rt-feed"):
        if not os.path.exists(os.path.join(install, needed)):
            print(f"{install} is no installation of the program: it has no {needed}")
            return 2
    if shutil.which("Xvfb") is None:
        print("Xvfb is not installed (Debian's xvfb)")
        return 2
    os.makedirs(out, exist_ok=True)
    aircraft = read_recording(recording)
    if not aircraft:
        print(f"{recording} holds no reports")
        return 2
    first = min(plane.reports[0].time for plane in aircraft)
    begin = first if start is None else start
    end = begin + seconds + 60.0  # some truth beyond the run for the delayed comparison
    code, lat, lon = centre_airport(aircraft, begin, end, read_airports(os.path.join(REPOSITORY, "data", "airports.xml")))
    print(f"user parked at {code or 'the traffic centre'} {lat:.5f} {lon:.5f}")

    work = tempfile.mkdtemp(prefix="work-", dir=out)
    program_dir = os.path.join(work, "install")
    shutil.copytree(install, program_dir)
    config = os.path.join(work, "config")
    data = os.path.join(config, "Corvane_P3D")
    os.makedirs(data)
    os.makedirs(os.path.join(config, "InsideSystems"))  # RealTraffic counts as installed
    open(os.path.join(config, "InsideSystems", "RealTraffic.jar"), "w").close()
    simulator = os.path.join(work, "Prepar3D v5")
    os.makedirs(os.path.join(simulator, "Scenery"))
    liveries = os.path.join(simulator, "SimObjects", "Airplanes")
    types = sorted({plane.type for plane in aircraft if plane.type} | {"A320", "B738"})
    for model in types:
        install_aircraft(os.path.join(liveries, f"Fidelity_{model}"), model, [f"Fidelity {model}"])
    ground = ground_elevation(aircraft, begin, end)
    stock = os.path.join(REPOSITORY, "downloads", "P3D", "archive", "stock", f"{code}.xml")
    if code and not os.path.exists(stock):
        stands = recorded_stands(aircraft, begin, end)
        write_airport_file(os.path.join(program_dir, "airports", "my_thirdparty", f"{code}.xml"), code, ground,
                           stands)
        print(f"no stand file for {code} on the download site: {len(stands)} stands where the recording's aircraft stood")
    with open(os.path.join(simulator, "standin-scenario.json"), "w") as f:
        json.dump({"user": {"title": "Stand-in Airbus A320", "atcModel": "A320", "atcId": "FIDELITY",
                            "position": {"latitude": lat, "longitude": lon, "heading": 0}},
                   "groundElevation": ground}, f)
    port = port or 11000 + os.getpid() % 1000
    with open(os.path.join(data, "parameters.xml"), "w") as f:
        f.write('<?xml version="1.0"?><root><parameters>'
                f'<parameter name="SIM_INSTALL_PATH" value="{simulator}"/>'
                '<parameter name="PROGRAM_VERSION" value="12.6.0"/>'
                f'<parameter name="lfolder0" value="{liveries}"/>'
                '<parameter name="SCAN_AIRPORTS" value="false"/>'
                f'<parameter name="PORT_NUMBER" value="{port}"/>'
                '</parameters></root>')

    # The recording plays at the simulator's own time (--align sim), moved so that it starts now:
    # the truth's times are then the simulator's, whenever the program happens to connect.
    shift = time.time() + 5.0 - begin
    replay = os.path.join(out, "replay.csv")
    write_replay(recording, replay, begin, end, shift)
    xvfb, display = start_xvfb()
    # The version check at start-up asks the repository's own download site, never the publisher's.
    site, site_address = start_site(os.path.join(REPOSITORY, "downloads"))
    env = dict(os.environ, XDG_CONFIG_HOME=config, DISPLAY=display, CORVANE_DOWNLOAD_SITE=site_address)
    processes = [site]
    try:
        with open(os.path.join(out, "rt-feed.out"), "w") as feed_out:
            feed = subprocess.Popen([os.path.join(program_dir, "rt-feed"), "--port", str(port), "--replay", replay,
                                     "--align", "sim"], stdin=subprocess.DEVNULL, stdout=feed_out,
                                    stderr=subprocess.STDOUT)
            processes.append(feed)
            program = subprocess.Popen([os.path.join(program_dir, "corvane")], cwd=program_dir, env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            processes.append(program)
            print(f"running {seconds:g} s: program {program.pid}, rt-feed {feed.pid}, display {display}")
            deadline = time.monotonic() + seconds
            while time.monotonic() < deadline and program.poll() is None:
                time.sleep(0.5)
            if program.poll() is not None:
                print(f"the program ended early with {program.returncode}")
            else:
                program.send_signal(signal.SIGTERM)  # closes as the window's close button does
                try:
                    print(f"program closed with {program.wait(60)}")
                except subprocess.TimeoutExpired:
                    print("program did not close within 60 s: killed")
    finally:
        for process in reversed(processes):
            if process.poll() is None:
                process.kill()
            process.wait()
        xvfb.terminate()
        xvfb.wait()
    for name in ("standin.log", "standin-tracks.csv"):
        if os.path.exists(os.path.join(simulator, name)):
            shutil.copy(os.path.join(simulator, name), os.path.join(out, name))
    if os.path.exists(os.path.join(program_dir, "Log.txt")):
        shutil.copy(os.path.join(program_dir, "Log.txt"), os.path.join(out, "program-log.txt"))
    shutil.rmtree(work, ignore_errors=True)
    compare(replay, os.path.join(out, "standin-tracks.csv"), out, delay=delay)
    return 0


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.strip().splitlines()[0])
    modes = parser.add_subparsers(dest="mode", required=True)
    c = modes.add_parser("compare", help="compare a stand-in track file with the recording")
    c.add_argument("recording")
    c.add_argument("tracks")
    c.add_argument("--out", required=True)
    c.add_argument("--delay", type=float, default=30.0)
    c.add_argument("--offset", type=float, default=0.0,
                   help="seconds to add to the recording's times to get the simulator's")
    r = modes.add_parser("run", help="play the recording to the installed program, then compare")
    r.add_argument("recording")
    r.add_argument("--install", required=True, help="the installed program's folder")
    r.add_argument("--out", required=True)
    r.add_argument("--seconds", type=float, default=180.0)
    r.add_argument("--delay", type=float, default=30.0)
    r.add_argument("--start", type=float, help="Unix time in the recording to start from (its first report)")
    r.add_argument("--port", type=int, help="the position server port (one from the process id)")
    args = parser.parse_args(argv[1:])
    if args.mode == "compare":
        compare(args.recording, args.tracks, args.out, delay=args.delay, offset=args.offset)
        return 0
    return run(args.recording, args.install, args.out, seconds=args.seconds, delay=args.delay,
               start=args.start, port=args.port)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
