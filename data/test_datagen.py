"""The rules that decide which airports the shipped catalogue holds, and the checks that guard them."""

import hashlib
import tempfile
import unittest
from pathlib import Path

from datagen.airports import NewestRecord, NewestTable, build_catalogue, current_code
from datagen.catalogue_files import airports_xml
from datagen.packages import DataError, Package, verified
from datagen.validate import Sources, check_airports


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
            "HSSS": "old code of HSSK", "LELO": "old code of LERJ", "OKBK": "old code of OKKK", "ZLDH": "no elevation in any source"})


class ChecksumTest(unittest.TestCase):
    def test_a_tarball_is_used_only_with_its_pinned_checksum(self):
        with tempfile.TemporaryDirectory() as folder:
            tgz = Path(folder) / "p-1.0.0.tgz"
            tgz.write_bytes(b"the data")
            pinned = hashlib.sha256(b"the data").hexdigest()
            self.assertEqual(verified(tgz, Package("p", "1.0.0", "", pinned, "", "")), tgz)
            with self.assertRaisesRegex(DataError, "not the pinned"):
                verified(tgz, Package("p", "1.0.0", "", "0" * 64, "", ""))


class AirportValidationTest(unittest.TestCase):
    """Each damage to a good catalogue is reported."""

    def errors_of(self, text, stock=()):
        with tempfile.TemporaryDirectory() as folder:
            site = Path(folder)
            (site / "archive" / "stock").mkdir(parents=True)
            for code in stock:
                (site / "archive" / "stock" / f"{code}.xml").write_text("<root/>")
            errors = []
            check_airports(text, Sources([], OURAIRPORTS, NEWEST, {"ESKB"}, site, min_airports=1), errors)
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


if __name__ == "__main__":
    unittest.main()
