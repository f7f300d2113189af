"""Framewright.exe started by driver.exe run in the scenario's working folder. The driver writes
the exit code as Windows reports it: Wine kills a process with SIGKILL when its Unix process
lingers about half a second after its last thread ended (137 in the Unix status under load)."""
import os
import subprocess

from .desktop import windows_path


class Tool:
    def __init__(self, scene, limit=600):
        self.scene = scene
        self.exit_file = os.path.join(scene.tmp, "exit-code.txt")
        if os.path.exists(self.exit_file):
            os.remove(self.exit_file)
        self.out = open(os.path.join(scene.tmp, "tool.out"), "ab")
        self.err = open(os.path.join(scene.tmp, "tool.err"), "ab")
        # The limit only ends a tool that a failed scenario left behind.
        self.process = scene.prefix.start(
            ["timeout", str(limit), "wine", scene.driver_exe, "run", windows_path(self.exit_file),
             windows_path(scene.exe)], cwd=scene.work, stdout=self.out, stderr=self.err)

    def wait_exit(self, seconds=30):
        """The tool's Windows exit code, or None when it still runs after that time."""
        try:
            code = self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            return None
        self.out.close()
        self.err.close()
        if os.path.exists(self.exit_file) and os.path.getsize(self.exit_file):
            with open(self.exit_file) as f:
                return int(f.read().strip())
        return code

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()
