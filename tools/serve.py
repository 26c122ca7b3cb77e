#!/usr/bin/python3
"""Serves the browser build (build-web/) for scripts/web, on Debian's python
alone: the big files go out gzipped, every file with its own type, and every
answer says "ask again" so that a rebuilt game and its service worker reach
the browser at once.

    /usr/bin/python3 tools/serve.py [--host ADDR] [--port N] [DIR]

--host 0.0.0.0 serves the local network and prints the addresses another
device can open; --port 0 takes any free port.  Ctrl-C stops it.
"""

import argparse
import ctypes
import errno
import gzip
import http.server
import os
import socket
import sys
import threading

TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm",
    ".data": "application/octet-stream",
    ".webmanifest": "application/manifest+json",
    ".png": "image/png",
}
# PNGs are compressed already: gzip would only cost time.
COMPRESSED = {".html", ".js", ".wasm", ".data", ".webmanifest"}

# The gzipped bodies, made once per version of a file.
gzipped = {}
gzipped_lock = threading.Lock()


def gzip_of(path, stat):
    key = (path, stat.st_mtime_ns, stat.st_size)
    with gzipped_lock:
        if key not in gzipped:
            with open(path, "rb") as f:
                gzipped[key] = gzip.compress(f.read(), 9, mtime=0)
        return gzipped[key]


class Handler(http.server.BaseHTTPRequestHandler):
    root = "."
    protocol_version = "HTTP/1.1"

    def file_for(self):
        """The file a path names inside the root, or None."""
        name = self.path.split("?", 1)[0].split("#", 1)[0]
        if name.endswith("/"):
            name += "index.html"
        path = os.path.realpath(os.path.join(self.root, name.lstrip("/")))
        inside = path.startswith(os.path.join(self.root, ""))
        ext = os.path.splitext(path)[1]
        return path if inside and ext in TYPES and os.path.isfile(path) else None

    def answer(self, with_body):
        path = self.file_for()
        if path is None:
            self.send_error(404)
            return
        stat = os.stat(path)
        ext = os.path.splitext(path)[1]
        accepts = self.headers.get("Accept-Encoding", "")
        zipped = ext in COMPRESSED and "gzip" in accepts
        tag = '"%x-%x%s"' % (stat.st_mtime_ns, stat.st_size, "-gz" if zipped else "")
        self.send_response(304 if self.headers.get("If-None-Match") == tag else 200)
        self.send_header("Content-Type", TYPES[ext])
        self.send_header("Cache-Control", "no-cache")
        self.send_header("ETag", tag)
        if ext in COMPRESSED:
            self.send_header("Vary", "Accept-Encoding")
        if self.headers.get("If-None-Match") == tag:
            self.end_headers()
            return
        if zipped:
            body = gzip_of(path, stat)
            self.send_header("Content-Encoding", "gzip")
        else:
            with open(path, "rb") as f:
                body = f.read()
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if with_body:
            self.wfile.write(body)

    def do_GET(self):
        self.answer(True)

    def do_HEAD(self):
        self.answer(False)

    def log_message(self, format, *args):
        pass  # a line per file would bury the address


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a phone that drops a connection is no news


class Ifaddrs(ctypes.Structure):
    pass


Ifaddrs._fields_ = [("next", ctypes.POINTER(Ifaddrs)), ("name", ctypes.c_char_p),
                    ("flags", ctypes.c_uint), ("addr", ctypes.c_void_p)]


def local_addresses():
    """(interface, address) of each IPv4 address of this machine, as the C
    library's getifaddrs lists them: nothing is sent anywhere."""
    libc = ctypes.CDLL(None)
    first = ctypes.POINTER(Ifaddrs)()
    if libc.getifaddrs(ctypes.byref(first)) != 0:
        return []
    found, entry = [], first
    while entry:
        addr = entry.contents.addr
        # struct sockaddr_in: the family, the port, then the address.
        if addr and ctypes.c_ushort.from_address(addr).value == socket.AF_INET:
            found.append((entry.contents.name.decode(), socket.inet_ntoa(ctypes.string_at(addr + 4, 4))))
        entry = entry.contents.next
    libc.freeifaddrs(first)
    return found


ANY = ("0.0.0.0", "", "::")


def announce(host, port):
    if host not in ANY:
        print("Serving the game on http://%s:%d/ (Ctrl-C stops)"
              % ("[%s]" % host if ":" in host else host, port))
        return
    print("Serving the game on all of this machine's addresses (Ctrl-C stops):")
    print("  http://127.0.0.1:%d/ here" % port)
    others = [(name, a) for name, a in local_addresses() if not a.startswith("127.")]
    for name, a in others:
        print("  http://%s:%d/ on %s: open it on a phone on that network" % (a, port, name))
    if not others:
        print("  (no network address that another device could open)")


def main(argv):
    parser = argparse.ArgumentParser(description="Serves the browser build.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("root", nargs="?", default="build-web")
    args = parser.parse_args(argv)
    if not 0 <= args.port <= 65535:
        parser.error("a port is a number from 0 to 65535")
    Handler.root = os.path.realpath(args.root)
    if not os.path.isfile(os.path.join(Handler.root, "index.html")):
        print("No game in %s: build it first (scripts/web build)." % args.root, file=sys.stderr)
        return 1
    if ":" in args.host:
        Server.address_family = socket.AF_INET6
    try:
        server = Server((args.host, args.port), Handler)
    except OSError as e:
        if e.errno == errno.EADDRINUSE:
            print("Port %d is in use on %s: scripts/web may be running already; "
                  "another port: --port N." % (args.port, args.host), file=sys.stderr)
        else:
            print("Cannot serve on %s port %d: %s." % (args.host, args.port, e.strerror),
                  file=sys.stderr)
        return 1
    with server:
        announce(args.host, server.server_address[1])
        sys.stdout.flush()
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            print()
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except KeyboardInterrupt:
        sys.exit(130)
