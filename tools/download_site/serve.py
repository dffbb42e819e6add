#!/usr/bin/env python3
"""A local download site: serves a folder as the site's "downloads/" path on 127.0.0.1.

    python3 tools/download_site/serve.py downloads [--port 0]

Prints "port <n>" on its first line once it listens (port 0 picks a free one), then one line
per request. Anything outside "/downloads/" is not found. Ends on SIGTERM or Ctrl-C.

Test harnesses import it and call start_site(folder) to run it as a child process.
"""
import argparse
import functools
import http.server
import signal
import subprocess
import sys
import threading
import urllib.parse


class DownloadsHandler(http.server.SimpleHTTPRequestHandler):
    prefix = "/downloads/"

    def translate_path(self, path):
        path = urllib.parse.urlsplit(path).path
        if not path.startswith(self.prefix):
            return ""  # no such file: answered with 404
        return super().translate_path("/" + path[len(self.prefix):])

    def list_directory(self, path):
        self.send_error(404, "No listing")
        return None

    def log_message(self, format, *args):
        sys.stdout.write("%s\n" % (format % args))
        sys.stdout.flush()


def start_site(folder):
    """Starts the site for folder as a child process; returns the process and the base address
    ("http://127.0.0.1:<port>/") to put in CORVANE_DOWNLOAD_SITE. Terminate the process to stop."""
    server = subprocess.Popen([sys.executable, __file__, folder], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True)
    first = server.stdout.readline().split()
    if len(first) != 2 or first[0] != "port":
        server.kill()
        server.wait()
        raise RuntimeError("the local download site did not start")
    # The request lines are not needed; reading them keeps the pipe from filling up.
    threading.Thread(target=server.stdout.read, daemon=True).start()
    return server, f"http://127.0.0.1:{first[1]}/"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", help="the folder served as downloads/")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    args = parser.parse_args()

    handler = functools.partial(DownloadsHandler, directory=args.folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print("port %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
