"""The comparison's measures on small made-up tracks: a straight taxi and a straight climb."""
import json
import math
import os
import shutil
import tempfile
import unittest

import fidelity

DELAY = 30.0
START = 1700000000.0
LAT0, LON0 = 47.45, 8.55
METRES_PER_DEG_LAT = fidelity.EARTH_RADIUS_M * math.pi / 180.0
TRACK_HEADER = ("time,object,atc_id,title,latitude,longitude,altitude_ft,pitch_deg,bank_deg,"
                "heading_deg,on_ground\n")


def truth_rows(ground, seconds=120, step=5):
    """One aircraft going due north at 10 m/s (about 19 kt), climbing 600 ft/min when in the air."""
    rows = []
    for t in range(0, seconds + 1, step):
        lat = LAT0 + 10.0 * t / METRES_PER_DEG_LAT
        alt = 0 if ground else 2000 + 10 * t
        rows.append(f"{START + t:.2f},11259375,{lat:.7f},{LON0},{alt},{0 if ground else 600},0,19,"
                    f"SWR12,A320,HB-JLT,,,A3,{1 if ground else 0}")
    return rows


def truth_at(t, ground):
    """Where the truth is at simulator time t, the delay taken off."""
    real = t - DELAY - START
    return LAT0 + 10.0 * real / METRES_PER_DEG_LAT, (0.0 if ground else 2000.0 + 10.0 * real)


class Fixture(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="fidelity-test-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def write(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def compare(self, ground, points, atc_id="HB-JLT"):
        """points: (time, lat, lon, alt, heading) of object 100, on the ground or not; the summary."""
        recording = self.write("truth.csv", "time,hexid,lat,lon,alt,vs,track,gs,callsign,type,registration,"
                               "origin,destination,category,ground\n" + "\n".join(truth_rows(ground)) + "\n")
        lines = [f"{t:.3f},100,{atc_id},Test A320,{lat:.7f},{lon:.7f},{alt:.1f},0.00,0.00,{heading:.2f},"
                 f"{1 if ground else 0}" for t, lat, lon, alt, heading in points]
        tracks = self.write("tracks.csv", TRACK_HEADER + "\n".join(lines) + "\n")
        out = os.path.join(self.folder, "out")
        fidelity.compare(recording, tracks, out, delay=DELAY, echo=False)
        with open(os.path.join(out, "summary.json")) as f:
            return json.load(f)

    def on_truth(self, ground, east_m=0.0, heading=0.0, every=0.5):
        """The track on the delayed truth (moved east by east_m), every `every` seconds."""
        points = []
        t = START + DELAY + 10.0
        while t <= START + DELAY + 100.0:
            lat, alt = truth_at(t, ground)
            lon = LON0 + east_m / (METRES_PER_DEG_LAT * math.cos(math.radians(lat)))
            points.append((t, lat, lon, alt, heading))
            t += every
        return points


class CompareTest(Fixture):
    def test_position_error_is_the_distance_from_the_delayed_truth(self):
        for ground in (True, False):
            for east_m in (0.0, 100.0):
                with self.subTest(ground=ground, east_m=east_m):
                    summary = self.compare(ground, self.on_truth(ground, east_m))
                    phase = summary["aircraft"][0]["ground" if ground else "air"]
                    for which in ("median", "p95", "max"):
                        self.assertAlmostEqual(phase["position_error_m"][which], east_m, delta=0.05)
                    # Matching the truth's climb and speed: no vertical speed difference, no jump,
                    # only the truth's own steps.
                    self.assertAlmostEqual(phase["vertical_speed_diff_fpm"]["p95"], 0.0, delta=1.0)
                    self.assertAlmostEqual(phase["largest_jump_m"], 0.0, delta=0.05)
                    self.assertAlmostEqual(phase["largest_step_m"], 5.0, delta=0.05)

    def test_a_track_without_the_delay_is_off_by_the_distance_covered(self):
        points = [(t - DELAY, lat, lon, alt, h) for t, lat, lon, alt, h in self.on_truth(False)]
        summary = self.compare(False, points)
        self.assertAlmostEqual(summary["aircraft"][0]["air"]["position_error_m"]["median"], 300.0, delta=0.5)

    def test_the_largest_jump_and_the_fastest_turn_are_found(self):
        points = self.on_truth(False)
        t, lat, lon, alt, _ = points[40]
        points[40] = (t, lat + 250.0 / METRES_PER_DEG_LAT, lon, alt, 20.0)  # 250 m and 20 deg off for one update
        summary = self.compare(False, points)
        air = summary["aircraft"][0]["air"]
        self.assertAlmostEqual(air["largest_jump_m"], 250.0, delta=0.5)  # beyond its own 5 m
        self.assertAlmostEqual(air["heading_rate_dps"]["max"], 40.0, delta=0.01)
        self.assertAlmostEqual(air["position_error_m"]["max"], 250.0, delta=0.5)
        self.assertAlmostEqual(summary["aircraft"][0]["worst_jump"]["from_time"], points[39][0], delta=0.001)

    def test_a_sideways_taxi_is_flagged_as_sliding(self):
        # Tail first along the nose line is a pushback, not a slide; 15 degrees off it is.
        for heading, sliding, pushback in ((0.0, False, False), (8.0, False, False), (90.0, True, False),
                                           (352.0, False, False), (15.0, True, False),
                                           (180.0, False, True), (165.0, True, False)):
            with self.subTest(heading=heading):
                summary = self.compare(True, self.on_truth(True, heading=heading))
                result = summary["aircraft"][0]["ground"]["sliding"]
                self.assertEqual(result["sliding"], sliding)
                self.assertGreater(result["moving_seconds"], 80.0)
                self.assertEqual(result["pushback_seconds"] > 80.0, pushback)

    def test_a_parked_aircraft_pointing_anywhere_does_not_slide(self):
        lat, _ = truth_at(START + DELAY, True)
        points = [(START + DELAY + t, lat, LON0, 0.0, 90.0) for t in range(0, 60)]
        result = self.compare(True, points)["aircraft"][0]["ground"]["sliding"]
        self.assertFalse(result["sliding"])
        self.assertEqual(result["moving_seconds"], 0.0)

    def test_pairs_by_registration_or_callsign_and_names_the_unpaired(self):
        for atc_id, paired in (("HB-JLT", True), ("hbjlt", True), ("SWR12", True), ("D-AIZZ", False)):
            with self.subTest(atc_id=atc_id):
                summary = self.compare(False, self.on_truth(False), atc_id=atc_id)
                self.assertEqual(len(summary["aircraft"]), 1 if paired else 0)
                self.assertEqual(len(summary["unpaired_objects"]), 0 if paired else 1)
                self.assertEqual(summary["verdict"], "compared" if paired else "no AI object paired")

    def test_no_ai_objects_is_said_plainly(self):
        summary = self.compare(False, [])
        self.assertEqual(summary["verdict"], "no AI objects")
        with open(os.path.join(self.folder, "out", "summary.txt")) as f:
            self.assertIn("NO AI OBJECTS", f.read())

    def test_each_paired_aircraft_gets_its_picture(self):
        summary = self.compare(False, self.on_truth(False, 100.0))
        with open(os.path.join(self.folder, "out", summary["aircraft"][0]["picture"])) as f:
            picture = f.read()
        self.assertTrue(picture.startswith("<svg"))
        self.assertEqual(picture.count("<polyline"), 4)  # truth and track, on the map and the profile


class GroundElevation(unittest.TestCase):
    @staticmethod
    def plane(reports):
        aircraft = fidelity.Aircraft(1)
        aircraft.reports = [fidelity.Report(START + t, LAT0, LON0, alt, ground) for t, alt, ground in reports]
        return aircraft

    def test_the_field_lies_just_below_the_reports_around_a_touchdown(self):
        cases = [
            # (reports (seconds, altitude, on the ground), ground elevation)
            ([(0, 900, False), (60, 200, False), (80, 175, False), (95, 0, True)], 150.0),
            # a climb-out far from any ground report: no field seen, kept well below the traffic
            ([(0, 3000, False), (60, 2500, False)], 2400.0),
            # the touchdown's neighbourhood counts, not the aircraft's lowest report long before
            ([(0, 120, False), (200, 400, False), (220, 0, True)], 375.0),
        ]
        for reports, expected in cases:
            with self.subTest(reports=reports):
                self.assertEqual(fidelity.ground_elevation([self.plane(reports)], START, START + 300), expected)


class RecordedStands(unittest.TestCase):
    @staticmethod
    def plane(reports):
        """reports: (seconds, metres north of LAT0, ground speed, track)."""
        aircraft = fidelity.Aircraft(1)
        aircraft.reports = [fidelity.Report(START + t, LAT0 + north_m / METRES_PER_DEG_LAT, LON0, 0.0, True, track, gs)
                            for t, north_m, gs, track in reports]
        return aircraft

    def test_a_stand_is_where_an_aircraft_stood_half_a_minute(self):
        stop_and_go = [(0, 0, 0, 177), (20, 0, 0, 177), (40, 0, 0, 177), (45, 10, 8, 0)]
        cases = [
            # (reports of each aircraft, stands found as (metres north, heading))
            ([stop_and_go], [(0, 177)]),
            ([stop_and_go[1:]], []),  # 25 s at a holding point is no stand
            ([[(0, 0, 0, 90), (300, 30, 2, 0)]], [(0, 90)]),  # one report, then none until it moved
            ([[(0, 0, 12, 90), (300, 500, 12, 90)]], []),  # taxiing with a gap in the reports
            ([stop_and_go, [(0, 20, 0, 95), (60, 20, 0, 95)]], [(0, 177)]),  # 20 m apart: one stand
            ([[(0, 0, 0, 90), (60, 0, 0, 90), (80, 200, 10, 0), (200, 500, 0, 180), (240, 500, 0, 180)]],
             [(0, 90), (500, 180)]),
        ]
        for reports, expected in cases:
            with self.subTest(reports=reports):
                stands = fidelity.recorded_stands([self.plane(each) for each in reports], START, START + 600)
                found = [(round((lat - LAT0) * METRES_PER_DEG_LAT), heading) for lat, _, heading in stands]
                self.assertEqual(found, expected)

    def test_the_stand_file_lists_them_for_the_program(self):
        folder = tempfile.mkdtemp(prefix="fidelity-test-")
        self.addCleanup(shutil.rmtree, folder, True)
        path = os.path.join(folder, "airports", "my_thirdparty", "LTFM.xml")
        fidelity.write_airport_file(path, "LTFM", 312.4, [(41.2755, 28.748, 177.0)])
        root = fidelity.ET.parse(path).getroot()
        parameters = {p.get("name"): p.get("value") for p in root.iter("parameter")}
        self.assertEqual((parameters["icao"], parameters["altitude"], parameters["num_parkpos"]), ("LTFM", "312", "1"))
        stand = next(root.iter("parkpos"))
        self.assertEqual((stand.get("latitude"), stand.get("longitude"), stand.get("heading")),
                         ("41.275500", "28.748000", "177.0"))


if __name__ == "__main__":
    unittest.main()
