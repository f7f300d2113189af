"""The virtual camera's side of a scenario: its configuration registered in the prefix (through
vcam/prefix.sh, the one place that knows how), plugging and unplugging, and its log."""
import os
import re
import subprocess

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
CONFIGS = os.path.join(ROOT, "tests", "e2e", "cameras")
_FIELDS = re.compile(r" pid=[0-9]+ t=[0-9]+\r?$")


class CameraLog:
    """The camera's log file; lines are read without their process and time fields."""

    def __init__(self, path):
        self.path = path
        self.clear()

    def lines(self):
        with open(self.path, "rb") as f:
            return [_FIELDS.sub("", raw.decode("latin-1").rstrip("\r\n")) for raw in f]

    def clear(self):
        open(self.path, "w").close()
        self.mark = 0

    def set_mark(self):
        self.mark = len(self.lines())

    def matching(self, pattern, since_mark=False):
        lines = self.lines()[self.mark:] if since_mark else self.lines()
        return [line for line in lines if re.search(pattern, line)]

    def has(self, pattern):
        return bool(self.matching(pattern))

    def frames_since_mark(self):
        """The frames the camera delivered in the runs after the mark (its "stream stop" lines)."""
        return sum(int(re.search(r"frames=([0-9]+)", line).group(1))
                   for line in self.matching("stream stop frames=", True))


class Cameras:
    def __init__(self, scene):
        self.scene = scene
        tmp = scene.tmp
        scene.prefix.env.update(
            FRAMEWRIGHT_VCAM_LOG=os.path.join(tmp, "vcam.log"),
            FRAMEWRIGHT_VCAM_STATE=os.path.join(tmp, "vcam-state.txt"),
            FRAMEWRIGHT_VCAM_UNPLUG=os.path.join(tmp, "vcam-unplugged.txt"),
            # Read by tool_hooks.dll inside the tool (driver send-watched).
            FRAMEWRIGHT_STATUS_LOG=os.path.join(tmp, "status.log"))
        self.log = CameraLog(scene.prefix.env["FRAMEWRIGHT_VCAM_LOG"])
        self.status_log = scene.prefix.env["FRAMEWRIGHT_STATUS_LOG"]

    def _prefix_sh(self, *args):
        subprocess.run(["bash", os.path.join(ROOT, "vcam", "prefix.sh")] + list(args),
                       env=self.scene.prefix.env, check=True, timeout=300)

    def attach(self, config):
        """The cameras of a configuration registered before the tool starts; the log emptied."""
        # Registered through the prefix's running server (the driver keeps it up), so the next
        # start sees the cameras at once.
        self.plug(config, notify=False)
        self.log.clear()

    def unplug(self, index, notify=True):
        """Camera INDEX removed and, with notify, the tool told as Windows would tell it. The notice
        is sent, not posted (Wine refuses to post WM_DEVICECHANGE), so this returns when the
        rescan is over; the status texts set meanwhile go to the status log."""
        self._prefix_sh("unplug", self.scene.prefix.path, str(index))
        if notify:
            self.scene.d("send-watched", self.scene.title, 0x219, 0x8004, 0)

    def plug(self, config, notify=True):
        """The cameras of a configuration (a file in tests/e2e/cameras/ or a path) plugged in."""
        config = config if os.path.isfile(config) else os.path.join(CONFIGS, config)
        self._prefix_sh("plug", self.scene.prefix.path, self.scene.vcam_dll, config)
        if notify:
            self.scene.d("send-watched", self.scene.title, 0x219, 0x8000, 0)

    def statuses(self):
        """The status texts the tool set during watched sends: "TICKS<tab>TEXT" lines' texts."""
        if not os.path.exists(self.status_log):
            return []
        with open(self.status_log, "rb") as f:
            return [line.decode("latin-1").split("\t", 1)[-1].rstrip("\r")
                    for line in f.read().splitlines()]
