"""driver.exe serve: one Wine process per scenario that takes the driver's subcommands on its input
and answers on its output, each answer ending with "@end CODE"."""
import queue
import subprocess
import threading

TITLE = "Orvisto Settings"


class DriverError(AssertionError):
    pass


class Driver:
    def __init__(self, prefix, exe, err_path, cwd=None):
        self.err_path = err_path
        self._err = open(err_path, "ab")
        self.process = prefix.start([exe, "serve"], cwd=cwd, stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, stderr=self._err)
        self._lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        # Answered once the driver runs: the prefix's server and services are up before anything
        # else starts in it (a program started while the first one was still bringing them up
        # sometimes waited a minute).
        self.call("windows", "-", timeout=180)

    def _read(self):
        for raw in self.process.stdout:
            self._lines.put(raw.decode("utf-8", "surrogateescape").rstrip("\r\n"))
        self._lines.put(None)

    def call(self, *args, timeout=180):
        """(exit code, output) of one subcommand. The driver waits up to 60 s for a handler itself
        and says so; the limit here only catches a driver that hangs."""
        line = "\t".join(str(a) for a in args) + "\n"
        self.process.stdin.write(line.encode("utf-8", "surrogateescape"))
        self.process.stdin.flush()
        out = []
        while True:
            try:
                got = self._lines.get(timeout=timeout)
            except queue.Empty:
                raise DriverError(f"driver gave no answer to {args} within {timeout} s")
            if got is None:
                raise DriverError(f"driver ended during {args}")
            if got.startswith("@end "):
                return int(got[5:]), "\n".join(out)
            out.append(got)

    def __call__(self, *args, **kwargs):
        """The output of a subcommand that must succeed."""
        code, out = self.call(*args, **kwargs)
        if code != 0:
            raise DriverError(f"driver {args} failed ({code}): {self.errors()}")
        return out

    def ok(self, *args, **kwargs):
        return self.call(*args, **kwargs)[0] == 0

    def errors(self, lines=5):
        self._err.flush()
        with open(self.err_path, "rb") as f:
            return b" | ".join(f.read().splitlines()[-lines:]).decode("utf-8", "replace")

    # The tool's main window.
    def wait_window(self, ms=120000, title=TITLE):
        return self.ok("wait-window", title, ms, timeout=ms / 1000 + 60)

    def wait_ready(self, ms=120000, title=TITLE):
        """The window is there and start-up is over (its thread takes messages again)."""
        return self.ok("wait-ready", title, ms, timeout=ms / 1000 + 60)

    def text(self, control, title=TITLE):
        return self("text", title, control)

    def status(self):
        return self("status", TITLE)

    def click(self, control):
        return self("click", TITLE, control)

    def close(self, title=TITLE):
        return self.call("close", title)[0]

    def controls(self):
        """The main window's controls by id: the driver's tab-separated columns as strings."""
        rows = {}
        for line in self("controls", TITLE).splitlines():
            cells = line.split("\t")
            rows[int(cells[0])] = cells
        return rows

    def stop(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(30)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._err.close()
