"""The rules that decide which airports the shipped catalogue holds, and the checks that guard them."""

import hashlib
import tempfile
import unittest
from pathlib import Path

from datagen.airports import NewestRecord, NewestTable, build_catalogue, current_code
from datagen.catalogue_files import airports_xml
from datagen.notice import notice_text
from datagen.packages import PACKAGES, DataError, Package, verified
from datagen.schedule import Stay, assign, entries_of
from datagen.standcheck import Reference, check_stand_file
from datagen.standfile import StandFile, stand_file_xml
from datagen.standsrc import Stand, Traffic, expand_ids
from datagen.validate import Sources, check_airports, check_notice


def openflights(code, name, lat, lon, alt, ident=0):
    return {"id": ident, "icao": code, "iata": "", "name": name, "latitude": lat, "longitude": lon, "altitude": alt}


def newest(ident, gps, kind, lat, lon, alt, name=""):
    return NewestRecord(ident, gps, kind, lat, lon, alt, name)


# A small world with one airport for each rule.
OPENFLIGHTS = [
    openflights("EHAM", "Schiphol", 52.3086, 4.7639, -11, 1),
    openflights("OKBK", "Kuwait", 29.2266, 47.9689, 206, 2),  # OurAirports: now OKKK
    openflights("HSSS", "Khartoum", 15.5895, 32.5532, 1265, 3),  # newest table: HSSK at the same place
    openflights("EDDT", "Tegel", 52.5597, 13.2877, 122, 4),  # newest table: a closed airfield here
    openflights("ZLIC", "Yinchuan", 38.3228, 106.3932, 0, 5),  # elevation only in the newest table
    openflights("ZLDH", "Dunhuang", 40.1611, 94.8092, 0, 6),  # elevation nowhere
    openflights("FADW", "Waterfort", 0.0, 0.0, 0, 7),
    openflights("ESKB", "Barkarby", 59.4145, 17.8821, 50, 8),  # closed by hand
    openflights("LELO", "Logrono", 42.4610, -2.3222, 1161, 9),  # OurAirports only: now LERJ
]
OURAIRPORTS = [{"id": "1", "ident": "OKBK", "gps_code": "OKKK", "iata_code": "KWI", "name": "Kuwait",
                "latitude_deg": "29.2266", "longitude_deg": "47.9689", "elevation_ft": "206"},
               {"id": "2", "ident": "LELO", "gps_code": "LERJ", "iata_code": "RJL", "name": "Logrono",
                "latitude_deg": "42.4610", "longitude_deg": "-2.3222", "elevation_ft": "1161"}]
NEWEST = NewestTable([
    newest("EHAM", "EHAM", "large_airport", 52.3086, 4.7639, -11),
    newest("OKKK", "OKKK", "large_airport", 29.2245, 47.9698, 206),
    newest("HSSK", "HSSK", "large_airport", 15.5895, 32.5532, 1265),
    newest("DE-0876", "", "closed", 52.5577, 13.2919, 122, "Tegel"),
    newest("ZLIC", "ZLIC", "large_airport", 38.3228, 106.3932, 3743),
])


class CatalogueTest(unittest.TestCase):
    def setUp(self):
        self.catalogue = build_catalogue(OPENFLIGHTS, OURAIRPORTS, NEWEST, {"ESKB"})

    def test_current_code_is_taken_over_the_first_identifier(self):
        cases = [("OKBK", "OKKK", "OKKK"), ("EHAM", "EHAM", "EHAM"), ("K61B", "KBVU", "KBVU"),
                 ("UODN", "XLDN", "UODN"),  # X is no ICAO region
                 ("NC12", "", "NC12"), ("5A8", "5A8", None)]
        for ident, gps, expected in cases:
            self.assertEqual(current_code(ident, gps), expected, (ident, gps))

    def test_only_open_airports_with_position_and_elevation_under_current_codes(self):
        kept = {ap.code: ap.alt for ap in self.catalogue.airports}
        self.assertEqual(kept, {"EHAM": -11, "HSSK": 1265, "LERJ": 1161, "OKKK": 206, "ZLIC": 3743})

    def test_every_airport_left_out_is_listed_with_its_reason(self):
        reasons = {code: reason for code, _, reason in self.catalogue.left_out}
        self.assertEqual(reasons, {
            "EDDT": "closed (OurAirports)", "ESKB": "closed (closed_airports.csv)", "FADW": "no position",
            "HSSS": "old code of HSSK", "LELO": "old code of LERJ", "OKBK": "old code of OKKK",
            "ZLDH": "no elevation in any source"})


class ChecksumTest(unittest.TestCase):
    def test_a_tarball_is_used_only_with_its_pinned_checksum(self):
        with tempfile.TemporaryDirectory() as folder:
            tgz = Path(folder) / "p-1.0.0.tgz"
            tgz.write_bytes(b"the data")
            pinned = hashlib.sha256(b"the data").hexdigest()
            self.assertEqual(verified(tgz, Package("p", "1.0.0", "", pinned, "", "")), tgz)
            with self.assertRaisesRegex(DataError, "not the pinned"):
                verified(tgz, Package("p", "1.0.0", "", "0" * 64, "", ""))


class NoticeTest(unittest.TestCase):
    def test_notice_names_every_source_with_its_licence(self):
        errors = []
        check_notice(notice_text(), errors)
        self.assertEqual(errors, [])
        package = PACKAGES["ourairports_full"]
        check_notice(notice_text().replace(f"{package.name} {package.version}", package.name), errors)
        self.assertEqual(len(errors), 1, errors)


class AirportValidationTest(unittest.TestCase):
    """Each damage to a good catalogue is reported."""

    def errors_of(self, text, stock=()):
        site_files = {f"archive/stock/{code}.xml": "<root/>" for code in stock}
        errors = []
        check_airports(text, Sources([], OURAIRPORTS, NEWEST, {"ESKB"}, site_files, min_airports=1), errors)
        return errors

    def test_damaged_catalogues_are_refused(self):
        good = airports_xml(build_catalogue(OPENFLIGHTS, OURAIRPORTS, NEWEST, {"ESKB"}), {"EHAM"})
        self.assertEqual(self.errors_of(good, ["EHAM"]), [])
        eham = '<ap c="EHAM" la="52.3086" lo="4.7639" a="-11" s="1" />'
        cases = [
            ('<ap c="ZLDH" la="40.1611" lo="94.8092" a="0" s="0" />', "ZLDH elevation 0"),
            ('<ap c="FADW" la="0" lo="0" a="12" s="0" />', "FADW has no position"),
            ('<ap c="EDDT" la="52.5597" lo="13.2877" a="122" s="0" />', "EDDT is closed"),
            ('<ap c="ESKB" la="59.4145" lo="17.8821" a="50" s="0" />', "ESKB is in closed_airports.csv"),
            ('<ap c="OKBK" la="29.2266" lo="47.9689" a="206" s="0" />', "OKBK is the old code of OKKK"),
            (eham.replace('s="1"', 's="0"'), "EHAM stand class '0'"),
        ]
        for damage, expected in cases:
            with self.subTest(expected=expected):
                text = good.replace(eham, damage if damage.startswith('<ap c="EHAM"') else eham + damage)
                self.assertTrue(any(expected in e for e in self.errors_of(text, ["EHAM"])),
                                self.errors_of(text, ["EHAM"]))


def stand(stand_id, group="A", radius=24.0, lat=52.3100, lon=4.7600):
    return Stand(stand_id, lat, lon, 180.0, radius, 9, group)


def traffic(airline, per_day, first, last, stay, days=(1,), group="A", number=100):
    return Traffic(group, airline, ("B738",), per_day, first, last, stay, days, number)


class ScheduleTest(unittest.TestCase):
    def test_stand_ids(self):
        self.assertEqual(expand_ids("D2-D8/2"), ["D2", "D4", "D6", "D8"])
        self.assertEqual(expand_ids("S71-S73"), ["S71", "S72", "S73"])
        self.assertEqual(expand_ids("E2|E5"), ["E2", "E5"])
        self.assertEqual(expand_ids("CARGO"), ["CARGO"])

    def test_an_overnight_stay_from_sunday_ends_on_monday(self):
        stay = Stay("KLM", "B738", 6 * 48 + 44, 10, "KLM1", "KLM2")
        self.assertEqual([(e.day, e.first, e.last, e.callsigns) for e in entries_of([stay])],
                         [(1, 0, 5, "KLM1:KLM2"), (7, 44, 47, "KLM1:KLM2")])

    def test_stays_share_stands_half_an_hour_apart_and_never_overlap(self):
        stands = [stand("A1"), stand("A2")]
        # two aircraft 10:00-11:00 take both stands; the next can arrive at 11:30, not at 11:00
        rows = [traffic("KLM", 1, 20, 20, 2), traffic("AFR", 1, 20, 20, 2, number=200),
                traffic("DLH", 1, 22, 22, 2, number=300), traffic("SAS", 1, 23, 23, 2, number=400)]
        placed, dropped = assign(stands, rows)
        self.assertEqual(dropped, 1)
        starts = sorted((sid, s.start) for sid, stays in placed.items() for s in stays)
        self.assertEqual(len(starts), 3)
        for sid, stays in placed.items():
            slots = [slot for s in stays for slot in s.slots()]
            self.assertEqual(len(slots), len(set(slots)), sid)


class StandFileValidationTest(unittest.TestCase):
    REF = Reference({"EHAM": (52.3086, 4.7639)}, {"KLM", "KLC"}, {"B738": 17.9, "B77W": 32.4})

    def errors_of(self, stands, stays):
        entries = {s.id: entries_of(stays.get(s.id, [])) for s in stands}
        text = stand_file_xml(StandFile("EHAM", "Schiphol", "stock", -11, "Dec 11, 2026", stands, entries))
        errors = []
        check_stand_file("EHAM.xml", text, "stock", self.REF, errors)
        return errors

    def test_damaged_stand_files_are_refused(self):
        good = [stand("D1"), stand("D2", lon=4.7610)]
        klm = Stay("KLM", "B738", 20, 4, "KLM1", "KLM2")
        self.assertEqual(self.errors_of(good, {"D1": [klm]}), [])
        cases = [
            ([stand("D1"), stand("D1", lon=4.7610)], {}, "repeated"),
            ([stand("D1"), stand("D2", lon=4.7601)], {}, "at the same place"),
            ([stand("D1", lat=52.40)], {}, "m from the airport"),
            (good, {"D1": [Stay("XXX", "B738", 20, 4, "X1", "X2")]}, "airline or type unknown"),
            (good, {"D1": [Stay("KLM", "B77W", 20, 4, "KLM1", "KLM2")]}, "does not fit"),
            (good, {"D1": [klm, Stay("KLC", "B738", 22, 4, "KLC1", "KLC2")]}, "overlaps another aircraft"),
            # not neighbours by their radii, yet two 777s side by side would touch
            ([stand("D1", radius=33.0), stand("D2", radius=33.0, lon=4.760912)],
             {"D1": [Stay("KLM", "B77W", 20, 4, "KLM1", "KLM2")],
              "D2": [Stay("KLM", "B77W", 30, 4, "KLM3", "KLM4")]}, "too close for a B77W beside a B77W"),
        ]
        for stands, stays, expected in cases:
            with self.subTest(expected=expected):
                errors = self.errors_of(stands, stays)
                self.assertTrue(any(expected in e for e in errors), errors)


if __name__ == "__main__":
    unittest.main()
