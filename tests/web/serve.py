#!/usr/bin/python3
"""Serves a folder on 127.0.0.1 as a web server set up for the site would: each
file's precompressed copy (.br, else .gz) when the browser accepts it, with the
file's own type. Prints the port, then serves until stopped.
Usage: serve.py FOLDER [PORT]"""
import http.server
import os
import sys

TYPES = {'.wasm': 'application/wasm', '.js': 'text/javascript', '.html': 'text/html; charset=utf-8',
         '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json', '.png': 'image/png'}


class Handler(http.server.SimpleHTTPRequestHandler):
    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        accepted = self.headers.get('Accept-Encoding', '')
        for suffix, encoding in (('.br', 'br'), ('.gz', 'gzip')):
            if encoding in accepted and os.path.isfile(path + suffix):
                body = open(path + suffix, 'rb')
                self.send_response(200)
                self.send_header('Content-Type', TYPES.get(os.path.splitext(path)[1], 'application/octet-stream'))
                self.send_header('Content-Encoding', encoding)
                self.send_header('Content-Length', str(os.fstat(body.fileno()).st_size))
                self.send_header('Cache-Control', 'no-cache')
                self.end_headers()
                return body
        return super().send_head()

    def guess_type(self, path):
        return TYPES.get(os.path.splitext(path)[1]) or super().guess_type(path)

    def copyfile(self, source, destination):
        # A page that moves on drops what it was still loading.
        try:
            super().copyfile(source, destination)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def log_message(self, *args):
        pass


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    handler = lambda *a, **k: Handler(*a, directory=folder, **k)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', port), handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == '__main__':
    main()
