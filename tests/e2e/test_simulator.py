"""The installed program against the stand-in simulator and rt-feed, as a user would run it."""
import os
import re
import subprocess
import time
import unittest

from test_program import LIME, DisplayTestCase

PARKED_AT_ZURICH = {"user": {"title": "Stand-in Airbus A320 Swiss HB-JLT", "atcModel": "A320",
                             "position": {"latitude": 47.4582, "longitude": 8.5556, "heading": 280}}}


def with_events(*events):
    return dict(PARKED_AT_ZURICH, events=list(events))


class SimulatorTest(DisplayTestCase):
    def program(self, **options):
        return super().program(with_install_path=True, **options)

    def test_connects_identifies_the_user_aircraft_and_reaches_the_cycle(self):
        program = self.program(scenario=PARKED_AT_ZURICH)
        program.start()
        program.wait_for_log("No traffic in this region?", timeout=90)
        log = program.log()
        self.assertIn("Lockheed Martin Prepar3D v5 (5.3.17.28160) connected", log)
        self.assertIn("SimConnect: User aircraft title: Stand-in Airbus A320 Swiss HB-JLT", log)
        self.assertTrue(any(line.startswith("SimConnect: User aircraft model: A320") for line in log), log)
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn("Exiting: USER CLOSED SIM", program.log())
        with open(os.path.join(program.simulator, "standin.log")) as f:
            self.assertIn("client 'Corvane_P3D' connected", f.read())

    def test_simulator_quit_ends_the_program(self):
        program = self.program(scenario=with_events({"time": 3, "kind": "quit"}))
        program.start()
        self.assertEqual(program.wait_exit(timeout=90), 0)
        self.assertIn("Exiting: SIM WAS CLOSED", program.log())

    def test_new_flight_quits_after_the_notice(self):
        program = self.program(scenario=with_events({"time": 3, "kind": "flightLoaded"}))
        program.start()
        program.wait_for_log("Exiting: NEW FLIGHT", timeout=90)
        started = time.monotonic()
        self.assertEqual(program.wait_exit(timeout=60), 0)
        self.assertGreater(time.monotonic() - started, 8)  # the 10-second notice

    def test_failing_request_restarts_after_nine_seconds(self):
        program = self.program(scenario=with_events({"time": 3, "kind": "failRequest"}))
        program.start()
        program.wait_for_log("Exiting: SIMCONNECT ERROR", timeout=90)
        program.wait_for_log("Restarting after 9 seconds", timeout=10)
        program.wait_for_log("Restart countdown finished", timeout=30)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            if program.log().count("Lockheed Martin Prepar3D v5 (5.3.17.28160) connected") == 2:
                break
            time.sleep(0.2)
        self.assertEqual(program.log().count("Lockheed Martin Prepar3D v5 (5.3.17.28160) connected"), 2)
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)

    def test_realtraffic_stand_in_connects_and_feeds_traffic(self):
        port = 10800 + os.getpid() % 1000
        program = self.program(scenario=PARKED_AT_ZURICH, realtraffic_port=port)
        feed_output = os.path.join(self.workdir, "rt-feed.out")
        with open(feed_output, "w") as out:
            self.helpers.append(subprocess.Popen([os.path.join(program.install, "rt-feed"), "--port", str(port)],
                                               stdout=out, stderr=subprocess.STDOUT))
        program.start()
        program.wait_for_log("RealTraffic connected", timeout=90)
        time.sleep(8)  # the receivers start, traffic arrives, the status settles
        log = program.log()
        self.assertNotIn("No traffic in this region?", log)
        self.assertIn("RealTraffic detected at this PC", log)
        screen = program.screenshot(self.workdir)
        self.assertEqual(screen.pixel(400 + 440, 20 + 100), LIME)  # the RealTraffic box
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        with open(feed_output) as f:
            output = f.read()
        self.assertIn("version asked, answered", output)
        rates = [float(rate) for rate in re.findall(r"connected, ([\d.]+) position lines/s", output)]
        self.assertTrue(any(4.0 <= rate <= 5.5 for rate in rates), output)
        positions = re.findall(r"user at ([\d.-]+), ([\d.-]+)", output)
        self.assertTrue(positions, output)
        self.assertAlmostEqual(float(positions[-1][0]), 47.4582, places=3)


    def test_replayed_recording_reaches_the_program(self):
        source = os.path.join(os.environ.get("CORV_SHARED_DATA", ""), "traffic", "fr24_34a8254b.json")
        if not os.path.exists(source):
            self.skipTest(f"{source} is not here: the shared recordings are absent")
        recording = os.path.join(self.workdir, "lszh.csv")
        converter = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "converters", "adsb_to_recording.py")
        subprocess.run(["python3", converter, "fr24", source, recording], check=True, stdout=subprocess.DEVNULL)
        port = 11800 + os.getpid() % 1000
        program = self.program(scenario=PARKED_AT_ZURICH, realtraffic_port=port)
        feed_output = os.path.join(self.workdir, "rt-feed.out")
        with open(feed_output, "w") as out:
            self.helpers.append(subprocess.Popen([os.path.join(program.install, "rt-feed"), "--port", str(port),
                                                "--replay", recording], stdout=out, stderr=subprocess.STDOUT))
        program.start()
        program.wait_for_log("RealTraffic connected", timeout=90)
        time.sleep(20)  # past the wait for the first traffic
        self.assertNotIn("No traffic in this region?", program.log())
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        with open(feed_output) as f:
            self.assertIn("replaying 1249 reports", f.read())


if __name__ == "__main__":
    unittest.main()
