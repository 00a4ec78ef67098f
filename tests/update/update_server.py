#!/usr/bin/env python3
"""A stand-in for the vendor's web server in the update-check tests.

Serves on 127.0.0.1 at a free port, written to <dir>/port once it listens.
Each request for the version file is answered from <dir>/answer, read afresh:
its first line is the status code (with a redirect's Location after it), or
"stall" to accept the request and never answer; the rest of the file is the body. Every request path is appended to
<dir>/requests. GET /quit ends the server; so do two minutes without requests.
"""
import http.server
import os
import socketserver
import sys
import threading
import time

folder = sys.argv[1]
last_request = time.monotonic()


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        global last_request
        last_request = time.monotonic()
        with open(os.path.join(folder, "requests"), "a") as log:
            log.write(self.path + "\n")
        if self.path == "/quit":
            self.send_response(200)
            self.end_headers()
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        try:
            with open(os.path.join(folder, "answer"), "rb") as f:
                answer = f.read()
        except OSError:
            answer = b"404\n"
        first, _, body = answer.partition(b"\n")
        if first.strip() == b"stall":
            time.sleep(3600)
            return
        status, _, location = first.strip().partition(b" ")
        self.send_response(int(status))
        if location:
            self.send_header("Location", location.decode())
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def watchdog(server):
    while time.monotonic() - last_request < 120:
        time.sleep(5)
    server.shutdown()


server = Server(("127.0.0.1", 0), Handler)
threading.Thread(target=watchdog, args=(server,), daemon=True).start()
port_file = os.path.join(folder, "port")
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
os.replace(port_file + ".tmp", port_file)
server.serve_forever()
