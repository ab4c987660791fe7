#!/usr/bin/env python3
"""Serves the page's folder on 127.0.0.1 with the two headers that make it
cross-origin isolated (Cross-Origin-Opener-Policy: same-origin and
Cross-Origin-Embedder-Policy: require-corp), without which the browser
gives the page no shared memory and the engines cannot start.

Usage: tools/serve.py [--port N] [--dir build-web]   (port 0: any free one)
It prints "serving http://127.0.0.1:PORT/" once it listens."""
import argparse
import functools
import http.server
import os
import sys

DEFAULT_PORT = 8000
TYPES = {"": "text/plain", ".js": "text/javascript", ".mjs": "text/javascript", ".wasm": "application/wasm"}


class IsolatedHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=DEFAULT_PORT)
    parser.add_argument("--dir", default="build-web")
    args = parser.parse_args()
    if not os.path.isfile(os.path.join(args.dir, "index.html")):
        sys.exit(f"serve.py: no page in {args.dir}/ (make web builds it)")
    handler = functools.partial(IsolatedHandler, directory=args.dir)
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        print(f"serving http://127.0.0.1:{server.server_address[1]}/", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
