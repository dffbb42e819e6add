"""The download site's airport files as the repository holds them (downloads/P3D/)."""

from __future__ import annotations

from pathlib import Path

STOCK = "stock"
SIMADDON = "simaddon"


def archive_folder(site: Path, group: str) -> Path:
    return site / "archive" / group


def archive_codes(site: Path, group: str) -> set[str]:
    """Codes of the airport files ICAO.xml of one archive group."""
    folder = archive_folder(site, group)
    if not folder.is_dir():
        return set()
    return {p.stem for p in folder.glob("*.xml") if p.is_file()}
