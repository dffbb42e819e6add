"""Starts the installed program as a user would and checks what the user sees."""
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from screen import Screenshot

REPOSITORY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(REPOSITORY, "tools", "download_site"))
from serve import start_site  # noqa: E402  (found through the path above)

INSTALL_DIR = os.environ["CORV_INSTALL_DIR"]
XWINDOW = os.environ["CORV_XWINDOW"]
TITLE = "Corvane_P3D"
HEADER = re.compile(r"[A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4} \(utc\) "
                    r"Corvane_P3D version 12\.6\.0 for Prepar3D v5/v6$")

BLACK, LIGHT_BLUE, LIME, RED, WHITE = (0, 0, 0), (153, 204, 255), (50, 205, 50), (255, 0, 0), (255, 255, 255)


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1000x24",
                               "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    return server, ":" + number


def install_aircraft(folder, model, liveries):
    """An installed aircraft: its aircraft.cfg with one [fltsim.N] per (title, airline,
    registration), and the model, texture and flight model files the livery scan looks for."""
    os.makedirs(os.path.join(folder, "model"))
    os.makedirs(os.path.join(folder, "texture"))
    open(os.path.join(folder, "jet.air"), "w").close()
    with open(os.path.join(folder, "aircraft.cfg"), "w") as f:
        f.write(f"[General]\natc_model={model}\n\n")
        for number, (title, airline, registration) in enumerate(liveries):
            f.write(f"[fltsim.{number}]\ntitle={title}\nsim=jet\nmodel=\ntexture=\n"
                    f"atc_parking_codes={airline}\n"
                    + (f"atc_id={registration}\n" if registration else "") + "\n")


class Program:
    """One installation folder and program data folder, and the program started in it."""

    def __init__(self, workdir, with_install_path=False, window_x=None, scenario=None, realtraffic_port=None):
        self.install = os.path.join(workdir, "install")
        shutil.copytree(INSTALL_DIR, self.install)
        self.config = os.path.join(workdir, "config")
        self.data = os.path.join(self.config, "Corvane_P3D")
        os.makedirs(self.data)
        if realtraffic_port is not None:
            # RealTraffic counts as installed on this PC.
            os.makedirs(os.path.join(self.config, "InsideSystems"))
            open(os.path.join(self.config, "InsideSystems", "RealTraffic.jar"), "w").close()
        if with_install_path:
            simulator = os.path.join(workdir, "Prepar3D v5")
            os.makedirs(os.path.join(simulator, "Scenery"))
            self.simulator = simulator
            self.liveries = os.path.join(simulator, "SimObjects", "Airplanes")
            install_aircraft(os.path.join(self.liveries, "Test_B738"), "B738",
                             [("Test KLM 737-800 PH-BXA", "KLM", "PH-BXA"),
                              ("Test Generic 737-800", "ZZZ", "")])
            if scenario is not None:
                with open(os.path.join(simulator, "standin-scenario.json"), "w") as f:
                    json.dump(scenario, f)
            with open(os.path.join(self.data, "parameters.xml"), "w") as f:
                f.write(f'<?xml version="1.0"?><root><parameters>'
                        f'<parameter name="SIM_INSTALL_PATH" value="{simulator}"/>'
                        f'<parameter name="PROGRAM_VERSION" value="12.6.0"/>'
                        f'<parameter name="lfolder0" value="{self.liveries}"/>'
                        '<parameter name="SCAN_AIRPORTS" value="false"/>'
                        + (f'<parameter name="MAIN_WINDOW_X" value="{window_x}"/>' if window_x is not None else "")
                        + (f'<parameter name="PORT_NUMBER" value="{realtraffic_port}"/>'
                           if realtraffic_port is not None else "")
                        + '</parameters></root>')
        self.process = None

    @property
    def log_path(self):
        return os.path.join(self.install, "Log.txt")

    def start(self, *arguments):
        env = dict(os.environ, XDG_CONFIG_HOME=self.config)
        self.process = subprocess.Popen([os.path.join(self.install, "corvane"), *arguments],
                                        cwd=self.install, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self.process

    def log(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def wait_for_log(self, line, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if line in self.log():
                return
            if self.process.poll() is not None:
                break
            time.sleep(0.1)
        raise AssertionError(f"'{line}' not logged; the log:\n" + "\n".join(self.log()))

    def close_window(self):
        subprocess.run([XWINDOW, "close", TITLE], check=True)

    def wait_exit(self, timeout=60):
        try:
            return self.process.wait(timeout)
        finally:
            if self.process.poll() is None:
                self.process.kill()

    def screenshot(self, folder):
        path = os.path.join(folder, "screen.png")
        subprocess.run([XWINDOW, "shot", path], check=True)
        return Screenshot(path)

    def wait_for_pixel(self, folder, x, y, colour, timeout=30):
        """The first screenshot in which the screen pixel has the colour: the window paints when
        it gets to it."""
        deadline = time.monotonic() + timeout
        while True:
            screen = self.screenshot(folder)
            seen = screen.pixel(x, y)
            if seen == colour:
                return screen
            if time.monotonic() > deadline or self.process.poll() is not None:
                raise AssertionError(f"pixel {x}, {y} is {seen}, not {colour}; the log:\n"
                                     + "\n".join(self.log()))
            time.sleep(0.1)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class DisplayTestCase(unittest.TestCase):
    """One virtual display and one local download site for the class; per test a work folder,
    the programs and other processes started there, all cleaned up afterwards."""

    @classmethod
    def setUpClass(cls):
        cls.xvfb, cls.display = start_xvfb()
        os.environ["DISPLAY"] = cls.display
        cls.site, os.environ["CORVANE_DOWNLOAD_SITE"] = start_site(os.path.join(REPOSITORY, "downloads"))

    @classmethod
    def tearDownClass(cls):
        cls.site.terminate()
        cls.site.wait()
        cls.xvfb.terminate()
        cls.xvfb.wait()

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="corv-e2e-")
        self.programs = []
        self.helpers = []  # other processes, such as rt-feed

    def tearDown(self):
        for helper in self.helpers:
            helper.kill()
            helper.wait()
        for program in self.programs:
            program.stop()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def program(self, **options):
        program = Program(tempfile.mkdtemp(dir=self.workdir), **options)
        self.programs.append(program)
        return program


class ProgramTest(DisplayTestCase):
    def test_first_start_writes_log_settings_and_folders_and_asks_for_the_install_path(self):
        program = self.program()
        program.start()
        program.wait_for_log("Error 151: No P3D install path detected. Type the full Install Path above, "
                             "then press Enter")
        log = program.log()
        self.assertRegex(log[0], HEADER)
        self.assertIn("P3D not detected?", log)
        # The local site publishes this build and the shipped data: nothing to fetch.
        self.assertIn("Corvane_P3D program version at web = 12.6.0", log)
        for key in ("airports", "aig", "addons", "dbase"):
            self.assertIn(f"{key} version up-to-date", log)
        # The shipped data were read and their plain files removed again.
        for count in ("ICAO model codes", "ICAO airline codes", "airports read"):
            self.assertTrue(any(re.fullmatch(r" *\d+ " + count, line) for line in log), count)
        self.assertEqual(sorted(os.listdir(os.path.join(program.install, "input"))),
                         ["AIG-regcodes.enc", "ICAO_airports.txt", "airports.enc", "dbase.enc",
                          "my_regcodes"])

        with open(os.path.join(program.data, "parameters.xml")) as f:
            settings = f.read()
        self.assertTrue(settings.startswith('<?xml version="1.0" encoding="UTF-8"?>'))
        self.assertEqual(settings.count("<parameter "), 67)
        self.assertIn('name="LAST_EPOCH_TIME:"', settings)
        for folder in ("output/info", "output/errors", "airports/learned/stock", "airports/learned/simaddon",
                       "airports/learned/thirdparty", "airports/my_ORBX", "airports/my_thirdparty",
                       "input/my_regcodes"):
            self.assertTrue(os.path.isdir(os.path.join(program.install, folder)), folder)

        x0, y0 = 400, 20  # the default window position
        screen = program.wait_for_pixel(self.workdir, x0 + 860, y0 + 465, RED)  # the error painted
        at = lambda x, y: screen.pixel(x0 + x, y0 + y)
        self.assertEqual(at(300, 2), BLACK)          # title band
        self.assertEqual(at(300, 50), BLACK)         # status band
        self.assertEqual(at(410, 100), RED)          # simulator box: not connected
        self.assertEqual(at(860, 300), LIGHT_BLUE)   # controls band
        self.assertEqual(at(860, 420), BLACK)        # parking band
        for y in (28, 113, 392):  # the message band covers the line at 449
            self.assertEqual(at(870, y), WHITE, f"white line at y {y}")
        self.assertEqual(at(300, 168), BLACK)        # a separator line of the controls band
        self.assertNotEqual(at(11, 155), LIGHT_BLUE)   # the "Scan for liveries" check box
        self.assertNotEqual(at(762, 351), LIGHT_BLUE)  # the "Re-read" button

        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn("Exiting: SYSTEM ERROR", program.log())

    def test_closing_the_window_ends_the_program_and_keeps_it_on_screen(self):
        # Saved on a monitor to the right that is gone: the 1600-pixel screen keeps 48 pixels.
        program = self.program(with_install_path=True, window_x=5000)
        program.start()
        program.wait_for_log("RealTraffic not detected at this PC")
        time.sleep(0.5)
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        log = program.log()
        self.assertIn("Exiting: USER CLOSED SIM", log)
        self.assertRegex(log[-1], r"^[A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4}$")
        with open(os.path.join(program.data, "parameters.xml")) as f:
            saved_x = int(re.search(r'name="MAIN_WINDOW_X" value="(-?\d+)"', f.read()).group(1))
        self.assertTrue(0 <= saved_x <= 1600 - 48, saved_x)

    def test_termination_signal_closes_like_the_window(self):
        program = self.program(with_install_path=True)
        program.start()
        program.wait_for_log("RealTraffic not detected at this PC")
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn("Exiting: USER CLOSED SIM", program.log())

    def test_second_instance_exits_at_once_and_writes_nothing(self):
        program = self.program(with_install_path=True)
        program.start()
        program.wait_for_log("RealTraffic not detected at this PC")
        log_before = program.log()

        second = subprocess.run([os.path.join(program.install, "corvane")], cwd=program.install,
                                env=dict(os.environ, XDG_CONFIG_HOME=program.config), timeout=30)
        self.assertEqual(second.returncode, 255)  # -1
        self.assertEqual(program.log()[:len(log_before)], log_before)
        self.assertFalse(os.path.exists(os.path.join(program.install, "Log0.txt")))
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)

    def test_production_mode_reads_the_data_and_quits(self):
        program = self.program(with_install_path=True)
        program.start("--PRODUCTION")
        self.assertEqual(program.wait_exit(), 0)
        log = program.log()
        self.assertIn("production", log)
        self.assertIn("Exiting: USER CLOSED SIM", log)

    def test_missing_docs_folder_shows_the_error_until_closed(self):
        program = self.program(with_install_path=True)
        shutil.rmtree(os.path.join(program.install, "docs"))
        program.start()
        program.wait_for_log("Error 41: Corvane_P3D must be run from the Corvane_P3D folder!")
        program.wait_for_pixel(self.workdir, 400 + 860, 20 + 465, RED)  # the error in the window
        self.assertIsNone(program.process.poll(), "the window stays open")
        program.close_window()
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn("Exiting: SYSTEM ERROR", program.log())


if __name__ == "__main__":
    unittest.main()
