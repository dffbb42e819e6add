"""Deterministic XML text: fixed attribute order, two-space indentation, escaped values."""

from __future__ import annotations

CHUNK = 16  # codes per list element


def esc(text: str) -> str:
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;").replace("\n", "&#10;").replace("\r", "&#13;").replace("\t", "&#9;"))


def element(indent: int, name: str, attrs: list[tuple[str, str]]) -> str:
    inner = " ".join(f'{k}="{esc(v)}"' for k, v in attrs)
    return f"{'  ' * indent}<{name} {inner} />"


def document(note: str, body: list[str]) -> str:
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', f"<!-- {note} -->", "<root>"]
    lines += body
    lines.append("</root>")
    return "\n".join(lines) + "\n"


def section(name: str, children: list[str]) -> list[str]:
    if not children:
        return [f"  <{name} />"]
    return [f"  <{name}>"] + children + [f"  </{name}>"]


def list_elements(elem: str, attr: str, codes: list[str], chunk: int = CHUNK) -> list[str]:
    return [element(2, elem, [(attr, ",".join(codes[i:i + chunk]))]) for i in range(0, len(codes), chunk)]


def number(value: float, decimals: int) -> str:
    text = f"{value:.{decimals}f}"
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text
