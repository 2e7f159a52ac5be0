#!/usr/bin/env python3
"""The demo's download server: serves one file as /Downloads/Brelomat.exe on loopback.

The body goes out in small pieces with a pause between them, so that a person (or a
screenshot) can see the progress bar move. Everything else is answered with 404.
"""
import argparse
import http.server
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--file", required=True)
    parser.add_argument("--seconds", type=float, default=3.0, help="how long one download takes")
    args = parser.parse_args()

    with open(args.file, "rb") as f:
        body = f.read()
    piece = 8192
    pieces = max(1, (len(body) + piece - 1) // piece)
    pause = args.seconds / pieces

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def do_GET(self):
            if self.path != "/Downloads/Brelomat.exe":
                self.send_error(404)
                return
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for start in range(0, len(body), piece):
                self.wfile.write(body[start:start + piece])
                self.wfile.flush()
                time.sleep(pause)

        def log_message(self, format, *args):
            print("demo server:", format % args, flush=True)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    print(f"demo server: http://127.0.0.1:{args.port}/Downloads/Brelomat.exe", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
