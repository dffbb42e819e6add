"""The download site's airport files as the repository holds them (downloads/P3D/)."""

from __future__ import annotations

from pathlib import Path

STOCK = "stock"
SIMADDON = "simaddon"


def archive_folder(site: Path, group: str) -> Path:
    return site / "archive" / group


def archive_path(group: str, code: str) -> str:
    """The path of an airport file below the site's P3D folder, as the program asks for it."""
    return f"archive/{group}/{code}.xml"


def codes_in(files: dict[str, str], group: str) -> set[str]:
    """Codes of the airport files of one archive group among the site's files."""
    prefix = f"archive/{group}/"
    return {p[len(prefix):-4] for p in files if p.startswith(prefix) and p.endswith(".xml")}


def files_on_disk(site: Path) -> set[str]:
    """The airport files the site folder holds now (paths as archive_path gives them)."""
    return {p.relative_to(site).as_posix() for group in (STOCK, SIMADDON)
            for p in archive_folder(site, group).glob("*.xml") if p.is_file()}
