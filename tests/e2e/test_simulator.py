"""The installed program against the stand-in simulator and rt-feed, as a user would run it."""
import os
import pty
import re
import subprocess
import threading
import time
import unittest

from test_program import LIME, DisplayTestCase, install_aircraft

PARKED_AT_ZURICH = {"user": {"title": "Stand-in Airbus A320 Swiss HB-JLT", "atcModel": "A320",
                             "position": {"latitude": 47.4582, "longitude": 8.5556, "heading": 280}}}

# rt-feed's report every 5 seconds; lines/s and datagrams/s are counts over the last report's time.
FEED_REPORT = re.compile(r"rt-feed: (connected|not connected), (\d+\.\d) position lines/s, "
                         r"\d+\.\d datagrams/s(, user at -?\d+\.\d{5}, -?\d+\.\d{5}, -?\d+ ft, -?\d+ kt)?")


def with_events(*events):
    return dict(PARKED_AT_ZURICH, events=list(events))


class Feed:
    """rt-feed on a pseudo-terminal, which makes it print every line as it goes (into a file or a
    pipe its output would wait in a buffer until it exits)."""

    def __init__(self, executable, *arguments):
        primary, secondary = pty.openpty()
        self.process = subprocess.Popen([executable, *arguments], stdin=subprocess.DEVNULL,
                                        stdout=secondary, stderr=secondary)
        os.close(secondary)
        self._lines = []
        self._lock = threading.Lock()
        self._reader = threading.Thread(target=self._read, args=(primary,), daemon=True)
        self._reader.start()

    def _read(self, primary):
        pending = b""
        while True:
            try:
                chunk = os.read(primary, 4096)
            except OSError:  # the terminal closes when rt-feed ends
                break
            if not chunk:
                break
            *complete, pending = (pending + chunk).split(b"\n")
            with self._lock:
                self._lines.extend(line.decode(errors="replace").rstrip("\r") for line in complete)
        os.close(primary)

    def lines(self):
        with self._lock:
            return list(self._lines)

    def reports(self):
        """rt-feed's 5-second reports so far; every one must have the report's format."""
        reports = [line for line in self.lines() if re.match(r"rt-feed: (not )?connected, ", line)]
        for line in reports:
            if not FEED_REPORT.fullmatch(line):
                raise AssertionError(f"not a report: {line}")
        return [FEED_REPORT.fullmatch(line) for line in reports]

    def wait_for(self, condition, what, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return
            if self.process.poll() is not None:
                break
            time.sleep(0.2)
        raise AssertionError(f"rt-feed: {what} did not happen; its output:\n" + "\n".join(self.lines()))

    def kill(self):
        self.process.kill()

    def wait(self):
        self.process.wait()
        self._reader.join(timeout=10)


def position_lines(report):
    """The position lines rt-feed read in the report's 5 seconds."""
    return round(float(report.group(2)) * 5)


class SimulatorTest(DisplayTestCase):
    def program(self, **options):
        return super().program(with_install_path=True, **options)

    def feed(self, program, *arguments):
        feed = Feed(os.path.join(program.install, "rt-feed"), *arguments)
        self.helpers.append(feed)
        return feed

    def wait_for_the_run_cycle(self, feed):
        """Until the start-up has ended its wait for the first traffic and the run cycle sends the
        user position five times a second; before, a single position line goes out. Returns how
        many reports rt-feed had made by then."""
        feed.wait_for(lambda: any(report.group(1) == "connected" and position_lines(report) > 1
                                  for report in feed.reports()),
                      "more than one position line in 5 s")
        return len(feed.reports())

    def assert_traffic_was_read(self, program):
        """With the run cycle going, the start-up's wait for traffic is over: had no report been
        read, it would have logged that there is no traffic."""
        log = program.log()
        self.assertNotIn("No traffic in this region?", log)
        self.assertFalse([line for line in log if line.startswith("exception in processLineSub")], log)

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

    def test_liveries_are_scanned_at_the_first_start_and_read_back_at_the_next(self):
        program = self.program(scenario=PARKED_AT_ZURICH)
        program.start()
        program.wait_for_log(f"2 liveries found in {program.liveries}")
        program.wait_for_log("1 model have a generic livery")
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        with open(os.path.join(program.data, "parameters.xml")) as f:
            self.assertIn('name="SCAN_LIVERIES" value="false"', f.read())

        program.start()
        stored = os.path.join(program.install, "output", "LiveriesScanned.xml")
        program.wait_for_log(f"    2 liveries read from {stored}")
        self.assertFalse([line for line in program.log() if "liveries found in" in line])
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)

    def test_simulator_quit_ends_the_program(self):
        program = self.program(scenario=with_events({"time": 3, "kind": "quit"}))
        program.start()
        self.assertEqual(program.wait_exit(timeout=90), 0)
        self.assertIn("Exiting: SIM WAS CLOSED", program.log())

    def test_simulator_quit_ends_a_wait_for_realtraffic_that_never_comes(self):
        # RealTraffic is installed but never connects: the quit must end the wait in accept.
        port = 10800 + os.getpid() % 1000
        program = self.program(scenario=with_events({"time": 8, "kind": "quit"}),
                               realtraffic_port=port)
        program.start()
        program.wait_for_log("RealTraffic detected at this PC", timeout=60)
        self.assertEqual(program.wait_exit(timeout=60), 0)
        log = program.log()
        self.assertIn("Exiting: SIM WAS CLOSED", log)
        self.assertNotIn("RealTraffic connected", log)

    def test_prepar3d_v4_is_refused_and_the_error_stays(self):
        scenario = dict(PARKED_AT_ZURICH, simulator={"name": "Lockheed Martin\u00ae Prepar3D\u00ae v4",
                                                     "version": "4.5.14.28189"})
        program = self.program(scenario=scenario)
        program.start()
        program.wait_for_log("Error 78: wrong P3D version 'Lockheed Martin Prepar3D v4 (4.5.14.28189)' "
                             "connects ... ?)", timeout=90)
        self.assertIsNone(program.process.poll(), "the window stays open with the error")
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        self.assertNotIn("SimConnect: User aircraft title: Stand-in Airbus A320 Swiss HB-JLT", program.log())

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
        feed = self.feed(program, "--port", str(port))
        program.start()
        program.wait_for_log("RealTraffic connected", timeout=90)
        cycle_started = self.wait_for_the_run_cycle(feed)
        self.assert_traffic_was_read(program)
        self.assertIn("RealTraffic detected at this PC", program.log())
        program.wait_for_pixel(self.workdir, 400 + 440, 20 + 100, LIME)  # the RealTraffic box

        # The position lines keep coming, with the user where the simulator has them.
        feed.wait_for(lambda: len(feed.reports()) >= cycle_started + 2, "two more reports")
        for report in feed.reports()[cycle_started:]:
            self.assertEqual(report.group(1), "connected", report.group(0))
            self.assertGreater(position_lines(report), 0, report.group(0))
        positions = re.findall(r"user at ([\d.-]+), ([\d.-]+)", "\n".join(feed.lines()))
        self.assertAlmostEqual(float(positions[-1][0]), 47.4582, places=3)
        self.assertAlmostEqual(float(positions[-1][1]), 8.5556, places=3)
        self.assertIn("rt-feed: version asked, answered", "\n".join(feed.lines()))

        program.close_window()
        self.assertEqual(program.wait_exit(), 0)

    def test_the_airport_the_user_stands_at_is_filled_with_parked_aircraft(self):
        port = 12800 + os.getpid() % 1000
        program = self.program(scenario=PARKED_AT_ZURICH, realtraffic_port=port)
        install_aircraft(os.path.join(program.liveries, "Test_A320"), "A320",
                         [("Test Swiss A320 HB-JLA", "SWR", "HB-JLA"), ("Test Generic A320", "ZZZ", "")])
        self.feed(program, "--port", str(port))
        program.start()
        # Its stand file comes from the download site; the stands are filled one by one.
        program.wait_for_log("The park airport is LSZH", timeout=120)
        program.wait_for_log("Airport file read from 'archive/stock/LSZH.xml' for Zürich Airport",
                             timeout=60)
        standin_log = os.path.join(program.simulator, "standin.log")
        deadline = time.monotonic() + 60
        created = []
        while time.monotonic() < deadline and len(created) < 3:
            with open(standin_log, encoding="utf-8", errors="replace") as f:
                created = re.findall(r"created \d+ '[^']*' tail '[A-Z0-9]+\*' at [\d.]+ [\d.]+ -?\d+ ft on "
                                     r"the ground", f.read())
            time.sleep(0.5)
        self.assertGreaterEqual(len(created), 3, "\n".join(program.log()))
        self.assertTrue(any(re.fullmatch(r"\d+ positions \(\d+% vs wanted \d+%, with Max fit=[\d.]+ hours\)",
                                         line) for line in program.log()), program.log())
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)

    def test_replayed_recording_reaches_the_program(self):
        source = os.path.join(os.environ.get("CORV_SHARED_DATA", ""), "traffic", "fr24_34a8254b.json")
        if not os.path.exists(source):
            self.skipTest(f"{source} is not here: the shared recordings are absent")
        recording = os.path.join(self.workdir, "lszh.csv")
        converter = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "converters", "adsb_to_recording.py")
        subprocess.run(["python3", converter, "fr24", source, recording], check=True, stdout=subprocess.DEVNULL)
        port = 11800 + os.getpid() % 1000
        program = self.program(scenario=PARKED_AT_ZURICH, realtraffic_port=port)
        feed = self.feed(program, "--port", str(port), "--replay", recording)
        program.start()
        program.wait_for_log("RealTraffic connected", timeout=90)
        self.wait_for_the_run_cycle(feed)
        self.assert_traffic_was_read(program)
        self.assertTrue(any(line.startswith("rt-feed: replaying 1249 reports") for line in feed.lines()),
                        feed.lines())
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
