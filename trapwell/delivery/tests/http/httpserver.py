#!/usr/bin/python3
"""The HTTP tests' server: fixed answers by path, one log line per request.

Usage: httpserver.py LOGFILE. Listens on a free port of 127.0.0.1 and prints its number.
Each request appends "<path and query>\t<User-Agent>" to LOGFILE before it is answered.
"""
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

LOG = sys.argv[1]
# Longer than one 256-byte read, with a two-byte character across the boundary.
LONG = ("x" * 255 + "\u00e9" + "y" * 100).encode("utf-8")
# What a stalling answer sends of its body: some of it, or none after complete headers.
STALLS = {"/stall": b"part", "/head-only": b""}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        with open(LOG, "a", encoding="utf-8") as log:
            log.write(self.path + "\t" + self.headers.get("User-Agent", "") + "\n")
        path = self.path.split("?", 1)[0]
        if path == "/missing":
            self.answer(404, b"<html>No such page</html>")
        elif path == "/three":
            self.answer(200, b"ok!")
        elif path == "/long":
            self.answer(200, LONG)
        elif path == "/redirect":
            self.answer(302, b"moved", [("Location", "/three")])
        elif path in STALLS:
            # Promises more than it sends, then goes quiet for good.
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.write(STALLS[path])
            self.wfile.flush()
            threading.Event().wait()
        elif path == "/unfinished-head":
            # Begins the headers and never ends them: no answer has begun.
            self.send_response(200)
            self.flush_headers()
            threading.Event().wait()
        elif path == "/huge":
            # Three megabytes, complete: only the first one is kept.
            self.answer(200, b"h" * (3 * 1024 * 1024))
        elif path == "/endless":
            # An answer without end, until the client gives up.
            self.send_response(200)
            self.end_headers()
            chunk = b"z" * (1024 * 1024)
            try:
                while True:
                    self.wfile.write(chunk)
            except OSError:
                pass
        elif path == "/silent":
            # Never answers: a client that does not bound its wait hangs here.
            threading.Event().wait()
        else:
            self.answer(200, b"thanks")


server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
