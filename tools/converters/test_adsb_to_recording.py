"""The OpenSky conversion on a landing whose ground speed and track stay those of the air."""
import json
import os
import shutil
import tempfile
import unittest

import adsb_to_recording as converter

METRES_PER_DEG_LAT = 111195.0


def state(seconds, north_m, ground, speed, track=180.0):
    return {"icao24": "4b1805", "callsign": "SWR7 ", "timestamp": (1570000000 + seconds) * 1000,
            "latitude": 47.0 + north_m / METRES_PER_DEG_LAT, "longitude": 8.0, "altitude": None if ground else 1500.0,
            "onground": ground, "groundspeed": speed, "track": track, "vertical_rate": 0.0}


class OpenSkyGroundMotion(unittest.TestCase):
    def convert(self, states, *options):
        folder = tempfile.mkdtemp(prefix="converter-test-")
        self.addCleanup(shutil.rmtree, folder, True)
        source, out = os.path.join(folder, "states.json"), os.path.join(folder, "out.csv")
        with open(source, "w") as f:
            json.dump(states, f)
        self.assertEqual(converter.main(["adsb_to_recording.py", "opensky", source, out, *options]), 0)
        with open(out) as f:
            lines = [line.rstrip("\n").split(",") for line in f if not line.startswith("#")]
        return [dict(zip(lines[0], line)) for line in lines[1:]]

    def test_stale_or_missing_speeds_on_the_ground_come_from_the_positions(self):
        # Rolling north at 10 m/s (19.4 kt), each position reported twice, the air's 140 kt and
        # track 180 kept; then stopped, with no speed at all.
        states = [state(0, 0, False, 140.0)]
        for k in range(1, 11):
            states.append(state(k, 10.0 * (k - k % 2), True, 140.0))
        states += [state(11 + k, 100.0, True, None, None) for k in range(40)]
        rows = self.convert(states, "--type", "A320")
        self.assertEqual(float(rows[0]["gs"]), 140.0, "the air's own speed stays")
        rolling = rows[2:8]
        for row in rolling:
            self.assertAlmostEqual(float(row["gs"]), 19.4, delta=0.5, msg=row)
            self.assertAlmostEqual(float(row["track"]), 0.0, delta=0.5, msg=row)
        self.assertEqual({float(row["gs"]) for row in rows[12:]}, {0.0}, "standing still")
        self.assertEqual({row["type"] for row in rows}, {"A320"})

    def test_speeds_that_change_on_the_ground_are_kept(self):
        states = [state(k, 5.0 * k, True, 10.0 + k, 0.0) for k in range(5)]
        self.assertEqual([float(row["gs"]) for row in self.convert(states)], [10.0, 11.0, 12.0, 13.0, 14.0])


if __name__ == "__main__":
    unittest.main()
