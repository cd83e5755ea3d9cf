"""The stand-in for the program's web site, on the loopback, for the update check's tests.

    python3 tools/standin-site.py PORT ANSWER-FILE [REQUESTS-FILE]

The version file (/product/qnl_curver.txt) is answered 200 with what ANSWER-FILE holds at that
moment, any other path 404 with the same body. When ANSWER-FILE holds "silent" the request is
never answered. Each path asked for is appended to REQUESTS-FILE, one a line.
"""
import http.server
import sys
import time

port, answer_file = int(sys.argv[1]), sys.argv[2]
requests_file = sys.argv[3] if len(sys.argv) > 3 else None


class Site(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if requests_file:
            with open(requests_file, "a") as log:
                log.write(self.path + "\n")
        body = open(answer_file, "rb").read()
        if body == b"silent":
            time.sleep(60)
            return
        self.send_response(200 if self.path == "/product/qnl_curver.txt" else 404)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


http.server.ThreadingHTTPServer(("127.0.0.1", port), Site).serve_forever()
