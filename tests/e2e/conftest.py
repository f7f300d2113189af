"""Fixtures of the end-to-end scenarios. A scenario is one test module: one display, one Wine
prefix, one driver process and the virtual camera for all its tests, which run in file order and
share the tool's state as an operator's session would. A module may set OPENBOX_CONFIG (an rc.xml)
and define prepare_prefix(scene) (run once the prefix is copied, before anything starts in it)."""
import os
import shutil
import tempfile

import pytest

from fw.camera import Cameras
from fw.desktop import Display, Prefix, template_prefix
from fw.driver import TITLE, Driver
from fw.tool import Tool
from fw.waits import wait_until

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
# Start-up's last write to the camera.
FOCUS_WRITE = "cameracontrol set id=6 "
BUILD = os.environ.get("FRAMEWRIGHT_WINDOWS_BUILD_DIR", os.path.join(ROOT, "build", "windows"))


class Scene:
    title = TITLE

    def __init__(self, name, module):
        self.build = BUILD
        self.exe = os.path.join(BUILD, "Framewright.exe")
        self.cli_exe = os.path.join(BUILD, "FramewrightCli.exe")
        self.driver_exe = os.path.join(BUILD, "driver.exe")
        self.vcam_dll = os.path.join(BUILD, "framewright_vcam.dll")
        for needed in (self.exe, self.driver_exe, self.vcam_dll):
            if not os.path.isfile(needed):
                pytest.skip(f"{needed} is not built")
        self.tmp = tempfile.mkdtemp(prefix=f"fw-e2e-{name}.")
        self.work = os.path.join(self.tmp, "work")
        os.mkdir(self.work)
        self.display = self.prefix = self.d = self.tool = None
        try:
            self._set_up(module)
        except BaseException:
            # A scenario that cannot start leaves nothing running behind it.
            self.finish()
            raise

    def _set_up(self, module):
        self.display = Display(getattr(module, "OPENBOX_CONFIG", None))
        template = os.environ.get("FRAMEWRIGHT_E2E_PREFIX", os.path.join(ROOT, "build", "e2e-prefix"))
        self.prefix = Prefix(template_prefix(template), os.path.join(self.tmp, "prefix"), self.display)
        self.cameras = Cameras(self)
        if hasattr(module, "prepare_prefix"):
            module.prepare_prefix(self)
        self.d = Driver(self.prefix, self.driver_exe, os.path.join(self.tmp, "driver.err"),
                        cwd=self.work)

    def path(self, name):
        return os.path.join(self.work, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def cli(self, *args):
        """(exit code, output without CRs) of FramewrightCli.exe run in the working folder."""
        return self.prefix.output([self.cli_exe, *args], 120, self.work)

    def start_tool(self, wait_ready=True, applied=False, limit=600):
        """Framewright.exe started; with wait_ready, returned once start-up is over; with applied,
        also once its last write to the camera (the focus) is logged and the file is written."""
        logged = len(self.cameras.log.lines())
        self.tool = Tool(self, limit=limit)
        if wait_ready:
            assert self.d.wait_ready(), f"the window was not ready: {self.d.errors()}"
        if applied:
            assert wait_until(60, lambda: any(
                FOCUS_WRITE in line for line in self.cameras.log.lines()[logged:])), \
                "start-up applied the record"
        return self.tool

    def close_tool(self, seconds=30):
        self.d.close()
        return self.tool.wait_exit(seconds)

    def tail(self, name, lines=20):
        path = os.path.join(self.tmp, name)
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return b"\n".join(f.read().splitlines()[-lines:]).decode("utf-8", "replace")

    def finish(self):
        if self.tool:
            self.tool.kill()
        if self.d:
            self.d.stop()
        if self.prefix:
            self.prefix.stop()
        if self.display:
            self.display.stop()
        if not os.environ.get("FRAMEWRIGHT_E2E_KEEP"):
            shutil.rmtree(self.tmp, ignore_errors=True)


@pytest.fixture(scope="module")
def scene(request):
    s = Scene(request.module.__name__.replace("test_", ""), request.module)
    request.module._scene = s
    yield s
    s.finish()


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    """A failed check carries the last lines of what the tool and the driver said."""
    outcome = yield
    report = outcome.get_result()
    s = getattr(item.module, "_scene", None)
    if report.failed and s:
        for name in ("tool.err", "driver.err"):
            text = s.tail(name)
            if text:
                report.sections.append((name, text))
