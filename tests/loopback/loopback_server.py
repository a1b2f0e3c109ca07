#!/usr/bin/env python3
"""The tests' HTTP server on 127.0.0.1: answers from a table the test writes,
records the bytes of every request, and breaks its answers on purpose.

    loopback_server.py run [--limit S] [--wait S] -- COMMAND [ARG ...]
        serves while COMMAND runs (with QMX_HTTP_PORT, QMX_HTTP_DIR and
        QMX_HTTP_HOSTDIR in its environment), then exits with its code
    loopback_server.py serve --dir DIR [--port N] [--limit S] [--wait S]
        serves until the limit or a signal; writes its port into DIR/port

See README.md beside this file for the table and the log.
"""
import argparse
import os
import re
import select
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

DEFAULT_LAST_MODIFIED = b"Mon, 03 Jan 2000 10:00:00 GMT"
PATTERN_PERIOD = 251
MAX_HEADER = 1 << 20


def unescape(text):
    """%XX stands for the byte XX; everything else is itself."""
    return re.sub(rb"%([0-9A-Fa-f]{2})", lambda m: bytes([int(m.group(1), 16)]), text)


def pattern(size):
    """The bytes of body-size: byte i is i % 251."""
    block = bytes(range(PATTERN_PERIOD))
    whole, rest = divmod(size, PATTERN_PERIOD)
    return block * whole + block[:rest]


class Row:
    def __init__(self, method, target):
        self.method = method
        self.target = target
        self.status = b"HTTP/1.0 200 OK"
        self.headers = []
        self.body = b""
        self.body_file = None
        self.content_length = True
        self.last_modified = True
        self.close_after = None
        self.reset_after = None
        self.stall_after = None
        self.hold_after = None
        self.slow = None
        self.no_answer = False
        self.raw = None

    def key(self):
        return (self.method + b" " + self.target).decode("latin-1")

    def has_header(self, name):
        prefix = name.lower() + b":"
        return any(h.lower().startswith(prefix) for h in self.headers)

    def body_length(self):
        if self.body_file is not None:
            return os.path.getsize(self.body_file)
        return len(self.body)


def read_table(path):
    rows = []
    try:
        with open(path, "rb") as f:
            lines = f.read().split(b"\n")
    except FileNotFoundError:
        return rows
    row = None
    for number, line in enumerate(lines, 1):
        if line.endswith(b"\r"):
            line = line[:-1]
        if not line.strip() or line.startswith(b"#"):
            continue
        keyword, _, value = line.partition(b" ")
        words = value.split()
        if keyword == b"row":
            if len(words) != 2:
                raise ValueError("table line %d: row METHOD TARGET" % number)
            row = Row(words[0], words[1])
            rows.append(row)
            continue
        if row is None:
            raise ValueError("table line %d: %r before the first row" % (number, keyword))
        if keyword == b"status":
            row.status = unescape(value)
        elif keyword == b"header":
            row.headers.append(unescape(value))
        elif keyword == b"body":
            row.body += unescape(value)
        elif keyword == b"body-size":
            row.body += pattern(int(words[0]))
        elif keyword == b"body-file":
            row.body_file = os.fsdecode(value)
        elif keyword == b"no-content-length":
            row.content_length = False
        elif keyword == b"no-last-modified":
            row.last_modified = False
        elif keyword == b"close-after":
            row.close_after = int(words[0])
        elif keyword == b"reset-after":
            row.reset_after = int(words[0])
        elif keyword == b"stall-after":
            row.stall_after = int(words[0])
        elif keyword == b"hold-after":
            row.hold_after = int(words[0])
        elif keyword == b"slow":
            row.slow = (int(words[0]), int(words[1])) if words else (1024, 20)
        elif keyword == b"no-answer":
            row.no_answer = True
        elif keyword == b"raw":
            row.raw = (row.raw or b"") + unescape(value)
        else:
            raise ValueError("table line %d: unknown keyword %r" % (number, keyword))
    return rows


def find_row(rows, method, target):
    def matching(wanted):
        for row in rows:
            if row.method in (method, b"*") and row.target == wanted:
                return row
        return None

    row = matching(target)
    # A proxy's request names the whole URL: its path finds the row too.
    m = re.match(rb"[A-Za-z][A-Za-z0-9+.-]*://[^/]*(/.*)?$", target)
    if row is None and m:
        row = matching(m.group(1) or b"/")
    return row


class Server:
    def __init__(self, folder, port, wait):
        self.folder = folder
        self.wait = wait
        self.lock = threading.Lock()
        self.count = 0
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", port))
        self.listener.listen(64)
        self.port = self.listener.getsockname()[1]

    def serve_forever(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            with self.lock:
                self.count += 1
                number = self.count
            threading.Thread(target=self.handle, args=(conn, number), daemon=True).start()

    def stop(self):
        try:
            self.listener.close()
        except OSError:
            pass

    # One connection: read the request, answer it as its row says, then
    # watch how the client ends, and log.
    def handle(self, conn, number):
        conn.settimeout(self.wait)
        record = {"received": b"", "sent": 0, "end": "-", "head": 0}
        method = target = b"-"
        row = None
        try:
            head_end = self.read_request(conn, record)
            if head_end:
                request_line = record["received"].split(b"\n", 1)[0].rstrip(b"\r")
                parts = request_line.split(b" ")
                if len(parts) >= 2:
                    method, target = parts[0], parts[1]
                rows = read_table(os.path.join(self.folder, "table"))
                row = find_row(rows, method, target)
                self.answer(conn, number, record, method, row)
        except Exception as e:  # a broken table or a server fault: say so in the log
            record["end"] = "ERROR:" + re.sub(r"\s+", "_", str(e))[:200]
        finally:
            try:
                conn.close()
            except OSError:
                pass
        self.log(number, method, target, row, record)

    def read_request(self, conn, record):
        """Reads the header and a body of its Content-Length; gives whether
        a header came."""
        data = b""
        while True:
            m = re.search(rb"\r?\n\r?\n", data)
            if m:
                break
            if len(data) > MAX_HEADER:
                record["received"] = data
                return False
            chunk = self.receive(conn, record)
            if not chunk:
                record["received"] = data
                return False
            data += chunk
        record["head"] = m.end()
        length = re.search(rb"(?im)^content-length:[ \t]*([0-9]+)", data[: m.end()])
        want = m.end() + (int(length.group(1)) if length else 0)
        while len(data) < want:
            chunk = self.receive(conn, record)
            if not chunk:
                break
            data += chunk
        record["received"] = data
        return True

    def receive(self, conn, record):
        """Some bytes, or b"" when the client closed (FIN), reset or went
        quiet; record["end"] says which."""
        try:
            chunk = conn.recv(65536)
        except ConnectionResetError:
            record["end"] = "RESET"
            return b""
        except socket.timeout:
            record["end"] = "OPEN"
            return b""
        if not chunk:
            record["end"] = "FIN"
        return chunk

    def send(self, conn, record, data):
        conn.sendall(data)
        record["sent"] += len(data)

    def answer(self, conn, number, record, method, row):
        if row is None:
            head = b"HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\n"
            body = b"Not Found"
            if method == b"HEAD":
                body = b""
            self.send(conn, record, head + body)
            self.drain(conn, record, shut=True)
            return
        if row.no_answer:
            self.flag_stall(number, record)
            self.drain(conn, record, shut=False)
            return
        if row.raw is not None:
            self.send(conn, record, row.raw)
            self.drain(conn, record, shut=True)
            return
        lines = [row.status] + row.headers
        if row.content_length and not row.has_header(b"Content-Length"):
            lines.append(b"Content-Length: %d" % row.body_length())
        if row.last_modified and not row.has_header(b"Last-Modified"):
            lines.append(b"Last-Modified: " + DEFAULT_LAST_MODIFIED)
        try:
            self.send(conn, record, b"".join(line + b"\r\n" for line in lines) + b"\r\n")
            if method != b"HEAD":
                if self.send_body(conn, number, record, row):
                    return
            elif row.stall_after is not None:
                # A header-only answer on a connection the server keeps open.
                self.flag_stall(number, record)
                self.drain(conn, record, shut=False)
                return
        except (BrokenPipeError, ConnectionResetError):
            record["end"] = "RESET"
            return
        self.drain(conn, record, shut=True)

    def send_body(self, conn, number, record, row):
        """Sends the body as the row says; gives True when the connection
        is done with (reset or stalled)."""
        limit = None
        for cut in (row.close_after, row.reset_after, row.stall_after):
            if cut is not None:
                limit = cut if limit is None else min(limit, cut)
        if row.body_file is not None and limit is None and row.slow is None:
            with open(row.body_file, "rb") as f:
                record["sent"] += conn.sendfile(f)
            return False
        if row.body_file is not None:
            with open(row.body_file, "rb") as f:
                body = f.read()
        else:
            body = row.body
        if limit is not None:
            body = body[:limit]
        if row.hold_after is not None and row.hold_after < len(body):
            self.send_pieces(conn, record, row, body[: row.hold_after])
            self.flag_stall(number, record)
            if not self.hold(conn, record):
                return True
            body = body[row.hold_after :]
        self.send_pieces(conn, record, row, body)
        if row.reset_after is not None and limit == row.reset_after:
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            record["end"] = "-"
            return True
        if row.stall_after is not None and limit == row.stall_after:
            self.flag_stall(number, record)
            self.drain(conn, record, shut=False)
            return True
        return False

    def send_pieces(self, conn, record, row, body):
        if row.slow:
            size, ms = row.slow
            for i in range(0, len(body), size):
                self.send(conn, record, body[i : i + size])
                time.sleep(ms / 1000.0)
        else:
            self.send(conn, record, body)

    def hold(self, conn, record):
        """Waits until the test writes DIR/go (taken away again) and gives
        True; False when the client closed first or the wait ran out."""
        go = os.path.join(self.folder, "go")
        end = time.monotonic() + self.wait
        while time.monotonic() < end:
            try:
                os.remove(go)
                return True
            except FileNotFoundError:
                pass
            readable, _, _ = select.select([conn], [], [], 0.01)
            if readable:
                chunk = self.receive(conn, record)
                if not chunk:
                    return False
                record["received"] += chunk
        record["end"] = "OPEN"
        return False

    def flag_stall(self, number, record):
        """Tells the test that the server now waits, sending nothing."""
        with open(os.path.join(self.folder, "stalled-%d" % number), "w") as f:
            f.write("%d\n" % record["sent"])

    def drain(self, conn, record, shut):
        """Reads what the client still sends until it closes (or the wait
        runs out)."""
        if shut:
            try:
                conn.shutdown(socket.SHUT_WR)
            except OSError:
                pass
        while True:
            chunk = self.receive(conn, record)
            if not chunk:
                return
            record["received"] += chunk

    def log(self, number, method, target, row, record):
        received = record["received"]
        with open(os.path.join(self.folder, "%d.req" % number), "wb") as f:
            f.write(received)
        head = record["head"]
        line = "%d %s %s row=%s head=%d after=%d sent=%d end=%s\n" % (
            number,
            method.decode("latin-1"),
            target.decode("latin-1"),
            row.key().replace(" ", "_") if row else "-",
            head,
            len(received) - head if head else 0,
            record["sent"],
            record["end"],
        )
        with self.lock:
            with open(os.path.join(self.folder, "log"), "a", encoding="latin-1") as f:
                f.write(line)


def host_folder(path):
    """The folder as Wine names it (drive Z: is the host's root)."""
    return "Z:" + path.replace("/", "\\") + "\\"


def start(folder, port, wait, limit):
    server = Server(folder, port, wait)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    # The time limit: no test may leave a server behind.
    timer = threading.Timer(limit, server.stop)
    timer.daemon = True
    timer.start()
    return server


def main():
    parser = argparse.ArgumentParser(description="the tests' loopback HTTP server")
    sub = parser.add_subparsers(dest="mode", required=True)
    run = sub.add_parser("run")
    serve = sub.add_parser("serve")
    for p in (run, serve):
        p.add_argument("--limit", type=float, default=600, help="seconds the server serves at most")
        p.add_argument("--wait", type=float, default=30, help="seconds a connection waits for the client")
        p.add_argument("--port", type=int, default=0)
    serve.add_argument("--dir", required=True)
    run.add_argument("--keep", action="store_true", help="keep the folder (its path goes to stderr)")
    run.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()

    if args.mode == "serve":
        os.makedirs(args.dir, exist_ok=True)
        server = start(args.dir, args.port, args.wait, args.limit)
        with open(os.path.join(args.dir, "port"), "w") as f:
            f.write("%d\n" % server.port)
        stop = threading.Event()
        signal.signal(signal.SIGTERM, lambda *_: stop.set())
        stop.wait(args.limit)
        server.stop()
        return 0

    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("run: no command")
    folder = tempfile.mkdtemp(prefix="qmx-loopback-")
    server = start(folder, args.port, args.wait, args.limit)
    env = dict(os.environ)
    env["QMX_HTTP_PORT"] = str(server.port)
    env["QMX_HTTP_DIR"] = host_folder(folder)
    env["QMX_HTTP_HOSTDIR"] = folder
    try:
        code = subprocess.call(command, env=env)
    finally:
        server.stop()
        if args.keep:
            print("loopback server folder: " + folder, file=sys.stderr)
        else:
            subprocess.call(["rm", "-rf", folder])
    return code


if __name__ == "__main__":
    sys.exit(main())
