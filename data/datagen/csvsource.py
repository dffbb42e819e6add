"""The hand-made CSV files: '#' lines are comments, every row must have every field."""

from __future__ import annotations

import csv
from pathlib import Path

from .packages import DataError


def read_csv(path: Path) -> list[dict[str, str]]:
    lines = [ln for ln in path.read_text(encoding="utf-8").splitlines() if ln.strip() and not ln.startswith("#")]
    rows = list(csv.DictReader(lines))
    for i, row in enumerate(rows, start=2):
        if None in row or any(v is None for v in row.values()):
            raise DataError(f"{path.name}: row {i} has a wrong number of fields: {row}")
    return [{k: v.strip() for k, v in row.items()} for row in rows]
