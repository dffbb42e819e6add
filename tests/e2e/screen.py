"""Reads the PNG screenshots that the xwindow tool writes (8-bit RGB, no row filters)."""
import struct
import zlib


class Screenshot:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError(f"{path} is not a PNG file")
        pos, packed = 8, b""
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            if kind == b"IHDR":
                self.width, self.height = struct.unpack(">II", body[:8])
            elif kind == b"IDAT":
                packed += body
            pos += 12 + length
        self._rows = zlib.decompress(packed)
        self._stride = 1 + 3 * self.width

    def pixel(self, x, y):
        start = y * self._stride + 1 + 3 * x
        return tuple(self._rows[start:start + 3])
