"""A display (Xvfb with openbox) and a Wine prefix copied from a template, the scenario's own."""
import fcntl
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile

from .waits import wait_until

# start.exe's last line when the child it started ended before its start-up was over.
_START_FAILED = b"ShellExecuteEx failed: Internal error."
# What Wine's own client code prints when its connection to the wineserver fails: the prefix's
# services inherit the output of the program that started them, so it may land in any program's
# error output (docs/wine-notes.md, "Wine's own line in a program's error output").
_WINE_CLIENT_ERROR = re.compile(rb"^wine client error:[^\n]*\n?", re.M)
WINE_ENV = {"WINEDLLOVERRIDES": "winedbg.exe=d;mscoree=d;mshtml=d", "WINEDEBUG": "-all"}


class Display:
    """Xvfb and a window manager (without one Wine waits 2 s on every hide of a top-level window),
    ready once it has set _NET_SUPPORTING_WM_CHECK: a window created before is mapped unmanaged."""

    def __init__(self, openbox_config=None):
        self.xvfb = self.openbox = None
        # Xvfb picks a free number itself and writes it to the pipe once it listens. (Picked by a
        # free socket and lock file, two scenarios starting together took the same number: the
        # second server failed, its scenario used the first one's display and lost it when the
        # first scenario ended.)
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "2560x1600x24",
             "+extension", "GLX", "-nolisten", "tcp"], pass_fds=(write_end,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            ready, _, _ = select.select([numbers], [], [], 30)
            number = numbers.readline().strip() if ready else ""
        if not number.isdigit():
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        # Seen in full runs: an openbox that ended at once on a display just made; try again.
        for _ in range(3):
            args = ["openbox"] + (["--config-file", openbox_config] if openbox_config else [])
            self.openbox = subprocess.Popen(args, env=dict(os.environ, DISPLAY=self.name),
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if wait_until(30, lambda: self.openbox.poll() is not None or self._managed()) \
                    and self.openbox.poll() is None:
                return
            self.openbox.kill()
            self.openbox.wait()
        self.stop()
        raise RuntimeError(f"no window manager on {self.name}")

    def _managed(self):
        out = subprocess.run(["xprop", "-display", self.name, "-root", "_NET_SUPPORTING_WM_CHECK"],
                             capture_output=True, text=True).stdout
        return "window id" in out

    def stop(self):
        for process in (self.openbox, self.xvfb):
            if process and process.poll() is None:
                process.terminate()
                process.wait()


def _boot(prefix):
    env = dict(os.environ, WINEPREFIX=prefix, **WINE_ENV)
    subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=180, check=True)
    # The registry is written lazily: wait until the server has flushed it and exited.
    subprocess.run(["wineserver", "-w"], env=env, timeout=60, check=True)


def template_prefix(path):
    """The build's template prefix, made on first use under a lock that scenarios share."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(path, "system.reg")):
            shutil.rmtree(path, ignore_errors=True)
            _boot(path)
    return path


def _never_started(result):
    """Whether Wine's start.exe, which every `wine PROGRAM` goes through, failed to start the
    program at all: code 1 and its message, nothing of the program's own. Seen once in a loaded
    run, for cmd.exe (docs/wine-notes.md, "A start that never happened")."""
    return result.returncode == 1 and result.stdout.rstrip().endswith(_START_FAILED)


def _command(args):
    """The arguments as text, a Windows program's run by wine."""
    args = [str(a) for a in args]
    return ["wine"] + args if args[0].lower().endswith(".exe") else args


class Prefix:
    """A copy of the template (a second or two), removed with the scenario's folder."""

    def __init__(self, template, path, display):
        subprocess.run(["cp", "-a", template, path], check=True)
        self.path = path
        self.env = dict(os.environ, WINEPREFIX=path, DISPLAY=display.name, **WINE_ENV)
        self.env["WINEDLLOVERRIDES"] = "winedbg.exe=d"

    def run(self, args, timeout=180, cwd=None, env=None):
        """A program run to its end: a CompletedProcess with the bytes of its output, through files:
        the prefix's services, started by the first program that needs them, inherit its stdout
        and would hold a pipe open until the prefix ends."""
        args = _command(args)
        for attempt in (1, 2):
            with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
                code = subprocess.run(args, env=env or self.env, cwd=cwd, timeout=timeout,
                                      stdout=out, stderr=err).returncode
                out.seek(0)
                err.seek(0)
                errors = err.read()
                result = subprocess.CompletedProcess(args, code, out.read(),
                                                     _WINE_CLIENT_ERROR.sub(b"", errors))
            if result.stderr != errors:
                print(f"{args}: Wine's own lines left out of its error output: {errors!r}",
                      file=sys.stderr)
            if attempt == 2 or not _never_started(result):
                return result
            print(f"{args}: Wine's start.exe could not start it; started once more", file=sys.stderr)

    def output(self, args, timeout=180, cwd=None):
        """(exit code, stdout as text without CRs) of a program run to its end."""
        result = self.run(args, timeout, cwd)
        return result.returncode, result.stdout.decode("latin-1").replace("\r", "").rstrip("\n")

    def start(self, args, cwd=None, **kwargs):
        return subprocess.Popen(_command(args), env=self.env, cwd=cwd, **kwargs)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30)


def windows_path(path):
    """The Unix path as a Windows program sees it (drive Z: is the Unix root)."""
    return "Z:" + str(path).replace("/", "\\")
