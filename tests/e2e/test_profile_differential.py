"""The simulated profile functions against Wine's, byte for byte: every case file of
profile_cases/ run by profile_probe.exe under Wine and by the host's profile_sim_runner, one test
per file."""
import os
import subprocess

import pytest

from fw.desktop import windows_path

CASES = os.path.join(os.path.dirname(__file__), "profile_cases")


def case_names():
    return sorted(f[:-4] for f in os.listdir(CASES) if f.endswith(".txt"))


@pytest.mark.parametrize("name", case_names())
def test_wine_and_sim_agree(scene, name):
    probe = os.path.join(scene.build, "tests", "wine", "profile_probe.exe")
    runner = os.environ.get("FRAMEWRIGHT_PROFILE_SIM_RUNNER")
    assert os.path.isfile(probe) and runner and os.path.isfile(runner), "probe and runner built"
    case = os.path.join(CASES, name + ".txt")
    # Each side writes its files in a folder of its own.
    folders = [os.path.join(scene.tmp, side + "_" + name) for side in ("wine", "sim")]
    for folder in folders:
        os.mkdir(folder)
    wine = scene.prefix.run([probe, windows_path(case)], cwd=folders[0], timeout=60)
    sim = subprocess.run([runner, case], cwd=folders[1], capture_output=True, timeout=60)
    assert (wine.returncode, sim.returncode) == (0, 0), wine.stderr.decode("latin-1")
    assert sim.stdout.decode("latin-1") == wine.stdout.decode("latin-1").replace("\r", "")
