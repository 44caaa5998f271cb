#!/usr/bin/env python3
"""An offline RFC 3161 time-stamp authority for the signing test: answers each POSTed query with
`openssl ts -reply` under the test's throwaway TSA certificate. Prints its port once it listens.

Usage: tsa_server.py <openssl ts config>
"""
import http.server
import subprocess
import sys
import tempfile

CONFIG = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.NamedTemporaryFile() as q, tempfile.NamedTemporaryFile() as r:
            q.write(query)
            q.flush()
            done = subprocess.run(["openssl", "ts", "-reply", "-config", CONFIG, "-queryfile", q.name,
                                   "-out", r.name], capture_output=True)
            reply = r.read()
        if done.returncode != 0 or not reply:
            sys.stderr.write(done.stderr.decode(errors="replace"))
            self.send_error(500)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
