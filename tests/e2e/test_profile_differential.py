"""The simulated profile functions against Wine's, byte for byte: every case file of
profile_cases/ run by profile_probe.exe under Wine and by the host's profile_sim_runner, one test
per file. The stored-names file gains its generated cases here: every byte at the edges of a value
and inside it, and a camera name of 255 escaped line feeds read with buffers around its length."""
import os
import subprocess

import pytest

from fw.desktop import windows_path

CASES = os.path.join(os.path.dirname(__file__), "profile_cases")
EDGE_BYTES = list(range(0x01, 0x21)) + [0x7F, 0x81, 0x85, 0x8D, 0xA0, 0xFF]


def generated(name):
    """Case lines a file gains beyond what is written in it."""
    if name != "stored_names":
        return []
    lines = []
    for b in EDGE_BYTES:
        lines += [f"write|Edges|K{b:02x}|\\x{b:02x}x\\x{b:02x}|e.ini", f"str|Edges|K{b:02x}|def|64|e.ini",
                  f"write|Inner|K{b:02x}|a\\x{b:02x}b|i.ini", f"str|Inner|K{b:02x}|def|64|i.ini"]
    lines.append('write|Camera0|Name|""' + "\\\\n" * 255 + '""|long.ini')
    lines += [f"str|Camera0|Name||{size}|long.ini" for size in range(516, 511, -1)]
    return lines


def case_names():
    return sorted(f[:-4] for f in os.listdir(CASES) if f.endswith(".txt"))


@pytest.mark.parametrize("name", case_names())
def test_wine_and_sim_agree(scene, name):
    probe = os.path.join(scene.build, "tests", "wine", "profile_probe.exe")
    runner = os.environ.get("FRAMEWRIGHT_PROFILE_SIM_RUNNER")
    assert os.path.isfile(probe) and runner and os.path.isfile(runner), "probe and runner built"
    with open(os.path.join(CASES, name + ".txt")) as f:
        text = f.read()
    case = os.path.join(scene.tmp, name + ".txt")
    with open(case, "w") as f:
        f.write(text + "".join(line + "\n" for line in generated(name)))
    # Each side writes its files in a folder of its own.
    folders = [os.path.join(scene.tmp, side + "_" + name) for side in ("wine", "sim")]
    for folder in folders:
        os.mkdir(folder)
    wine = scene.prefix.run([probe, windows_path(case)], cwd=folders[0], timeout=60)
    sim = subprocess.run([runner, case], cwd=folders[1], capture_output=True, timeout=60)
    assert (wine.returncode, sim.returncode) == (0, 0), wine.stderr.decode("latin-1")
    assert sim.stdout.decode("latin-1") == wine.stdout.decode("latin-1").replace("\r", "")
