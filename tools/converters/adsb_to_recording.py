#!/usr/bin/env python3
"""Turns ADS-B recordings of common formats into rt-feed recordings (see tools/rt-feed/RECORDING.md).

    adsb_to_recording.py readsb  trace_full.json   out.csv
    adsb_to_recording.py fr24    playback.json     out.csv
    adsb_to_recording.py opensky states.json[.gz]  out.csv   (JSON list or CSV)

    --type ICAO   the aircraft type of reports that name none (OpenSky state vectors never do;
                  RealTraffic always sends one, and the program leaves an aircraft without it out)
"""
import argparse
import csv
import gzip
import io
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "geo"))
from earth import bearing_deg, distance_m  # noqa: E402  (found through the path above)

HEADER = ["time", "hexid", "lat", "lon", "alt", "vs", "track", "gs", "callsign", "type", "registration",
          "origin", "destination", "category", "ground"]


def open_text(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] == b"\x1f\x8b":
        data = gzip.decompress(data)
    return data.decode("utf-8")


def number(value, default=""):
    return default if value is None or value == "" else value


def from_readsb(text):
    doc = json.loads(text)
    hexid = int(doc["icao"], 16)
    callsign = ""
    for row in doc.get("trace", []):
        seconds, lat, lon, alt, gs, track = row[0], row[1], row[2], row[3], row[4], row[5]
        rate = row[7] if len(row) > 7 else None
        details = row[8] if len(row) > 8 else None
        if isinstance(details, dict) and details.get("flight"):
            callsign = details["flight"].strip()
        ground = alt == "ground"
        yield [f"{doc['timestamp'] + seconds:.2f}", hexid, lat, lon, 0 if ground else alt, number(rate, 0),
               number(track, 0), number(gs, 0), callsign, doc.get("t", ""), doc.get("r", ""), "", "", "",
               1 if ground else 0]


def from_fr24(text):
    flight = json.loads(text)["result"]["response"]["data"]["flight"]
    aircraft = flight.get("aircraft") or {}
    ident = aircraft.get("identification") or {}
    hexid = int(ident.get("modes") or "0", 16)
    airports = flight.get("airport") or {}
    iata = lambda which: (((airports.get(which) or {}).get("code") or {}).get("iata") or "")
    callsign = (flight.get("identification") or {}).get("callsign") or ""
    for point in sorted(flight.get("track") or [], key=lambda p: p["timestamp"]):
        altitude = point["altitude"]["feet"]
        yield [point["timestamp"], hexid, point["latitude"], point["longitude"], altitude,
               point["verticalSpeed"]["fpm"], point["heading"], point["speed"]["kts"], callsign,
               (aircraft.get("model") or {}).get("code", ""), ident.get("registration", ""),
               iata("origin"), iata("destination"), "", 1 if altitude == 0 else 0]


SPEED_SPAN_SECONDS = 3.0


def mend_ground_motion(rows):
    """OpenSky often has no speed and track on the ground, or keeps repeating the last ones from
    the air (a landing that rolls at 104 kt for ten minutes): there they are taken from the
    positions, from where the current one was first reported to the next different one at least
    3 s and at most 30 s later (standing still when there is none). Positions there often repeat
    for a second or two and jitter by metres, so the time runs from the first report of a
    position, not from this row, over a few seconds."""
    last_given = {}
    since = {}  # hexid: (lat, lon, time the position was first reported)
    for i, row in enumerate(rows):
        hexid, stamp, lat, lon = row[1], float(row[0]), float(row[2]), float(row[3])
        first = since.get(hexid)
        if first is None or distance_m(lat, lon, first[0], first[1]) > 1.0:
            first = since[hexid] = (lat, lon, stamp)
        given = (row[7], row[6])
        stale = given == last_given.get(hexid)
        last_given[hexid] = given
        if row[14] != 1 or (given[0] not in ("", None) and not stale):
            continue
        speed, track = 0.0, None
        seen_at = (lat, lon)  # the position the later rows are at, first reported when they are
        for later in rows[i + 1:]:
            if float(later[0]) - stamp > 30.0:
                break
            if later[1] != hexid or distance_m(seen_at[0], seen_at[1], float(later[2]), float(later[3])) <= 1.0:
                continue
            seen_at = (float(later[2]), float(later[3]))
            if float(later[0]) - first[2] >= SPEED_SPAN_SECONDS:
                metres = distance_m(lat, lon, seen_at[0], seen_at[1])
                speed = metres / (float(later[0]) - first[2]) * 3600.0 / 1852.0
                track = bearing_deg(lat, lon, seen_at[0], seen_at[1])
                break
        row[7] = f"{speed:.1f}"
        row[6] = f"{track:.1f}" if track is not None else number(row[6], 0)


def from_opensky(text):
    stripped = text.lstrip()
    rows = json.loads(text) if stripped.startswith("[") else list(csv.DictReader(io.StringIO(text)))
    seen = set()
    converted = []
    for row in sorted(rows, key=lambda r: float(r["timestamp"])):
        key = (row["icao24"], row["timestamp"])
        if key in seen:  # recorders repeat rows
            continue
        seen.add(key)
        stamp = float(row["timestamp"])
        if stamp > 1e11:  # milliseconds
            stamp /= 1000.0
        ground = str(row.get("onground")).lower() in ("true", "1")
        converted.append([f"{stamp:.2f}", int(row["icao24"], 16), row["latitude"], row["longitude"],
                          number(row.get("altitude"), 0), number(row.get("vertical_rate"), 0), row.get("track"),
                          row.get("groundspeed"), (row.get("callsign") or "").strip(), "", "", "", "", "",
                          1 if ground else 0])
    mend_ground_motion(converted)
    for row in converted:
        row[6], row[7] = number(row[6], 0), number(row[7], 0)
    return converted


def main(argv):
    parser = argparse.ArgumentParser(usage=__doc__.strip())
    parser.add_argument("format", choices=("readsb", "fr24", "opensky"))
    parser.add_argument("source")
    parser.add_argument("destination")
    parser.add_argument("--type", default="")
    args = parser.parse_args(argv[1:])
    convert = {"readsb": from_readsb, "fr24": from_fr24, "opensky": from_opensky}[args.format]
    rows = list(convert(open_text(args.source)))
    type_column = HEADER.index("type")
    for row in rows:
        row[type_column] = row[type_column] or args.type
    with open(args.destination, "w", newline="") as out:
        out.write(f"# converted from {args.format}: {args.source.split('/')[-1]}\n")
        writer = csv.writer(out, lineterminator="\n")
        writer.writerow(HEADER)
        writer.writerows(rows)
    print(f"{len(rows)} reports written to {args.destination}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
