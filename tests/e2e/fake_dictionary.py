"""A local stand-in for the web dictionaries and for the proxy the update check goes through.

Every request is recorded with its arrival time. GET requests (a browser asking for a dictionary
page, directly or through the proxy) get a small page; those under /pages/ get the file of that
name from the pages folder given, as the dialog server's information pages. CONNECT requests (WinINet tunnelling the
update check's https request through the proxy) are held open until release_tunnels() or a time
limit, then refused, so that a test decides how long the update check waits for the network.
"""

import html
import http.server
import os
import threading
import time
import urllib.parse


class Request:
    def __init__(self, method, target):
        self.method = method
        self.target = target  # as sent: a path, an absolute URL (proxy) or host:port (CONNECT)
        self.arrived = time.monotonic()
        self.answered = None  # when a held CONNECT was answered

    @property
    def path(self):
        """The path of a GET, also when it came through the proxy as an absolute URL."""
        return urllib.parse.urlsplit(self.target).path if "://" in self.target else self.target.split("?")[0]

    @property
    def query(self):
        return urllib.parse.parse_qs(urllib.parse.urlsplit(self.target).query)


class FakeDictionary:
    def __init__(self, tunnel_limit=30.0, pages=None, title=None, style=None):
        """`title`, when given, is a function of the Request that gives the <title> of its page, so
        that a test can tell from a window's title which request the window shows. `style`: CSS for
        the dictionary's pages, with `title` (a colour a picture can be searched for, say)."""
        self._requests = []
        self._pages = pages
        self._title = title
        self._style = style
        self._changed = threading.Condition()
        self._release = threading.Event()
        self._tunnel_limit = tunnel_limit
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def do_GET(self):
                request = Request("GET", self.path)
                owner._record(request)
                body = owner._dictionary_page(request)
                if request.path.startswith("/pages/"):
                    body = owner._page(request.path[len("/pages/"):])
                    if body is None:
                        self.send_error(404)
                        return
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def do_CONNECT(self):
                request = Request("CONNECT", self.path)
                owner._record(request)
                owner._release.wait(owner._tunnel_limit)
                request.answered = time.monotonic()
                self.send_error(502, "no tunnels here")

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)

    @property
    def port(self):
        return self._server.server_address[1]

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._release.set()
        self._server.shutdown()
        self._server.server_close()

    def _dictionary_page(self, request):
        head = ""
        heading = ""
        if self._title is not None:
            # The title in the page too, so that a picture of the window shows what was asked for.
            title = html.escape(self._title(request))
            style = "" if self._style is None else "<style>%s</style>" % self._style
            head = "<head><meta charset=\"utf-8\"><title>%s</title>%s</head>" % (title, style)
            heading = "<h1>%s</h1>" % title
        return ("<html>%s<body>%sfake dictionary</body></html>" % (head, heading)).encode("utf-8")

    def _page(self, name):
        """The bytes of a file under the pages folder, or None (also for a name leading out of it)."""
        if not self._pages or ".." in name.split("/"):
            return None
        try:
            with open(os.path.join(self._pages, *name.split("/")), "rb") as page:
                return page.read()
        except OSError:
            return None

    def _record(self, request):
        with self._changed:
            self._requests.append(request)
            self._changed.notify_all()

    def release_tunnels(self):
        self._release.set()

    def hold_tunnels(self):
        """CONNECT requests from now on are held again (until release_tunnels or the limit)."""
        self._release.clear()

    def print_requests(self):
        """Every request seen, for the diagnosis of a failed test."""
        for request in self.requests():
            print("     request at the fake dictionary: %s %s" % (request.method, request.target))

    def requests(self):
        with self._changed:
            return list(self._requests)

    def wait_for(self, matches, timeout):
        """The first recorded request for which matches(request) holds, or None after timeout."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for request in self._requests:
                    if matches(request):
                        return request
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    return None
                self._changed.wait(remaining)
