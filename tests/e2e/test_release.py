"""The release zip (scripts/release.sh, in FRAMEWRIGHT_RELEASE_DIR) as an operator gets it: the
project's version (FRAMEWRIGHT_PROJECT_VERSION) wherever it shows, and both programs run from its
folder unpacked into a prefix of its own, each applying the sample settings file and capturing."""
import glob
import os
import re
import shutil
import zipfile

import pytest

from fw.bitmap import check_image
from fw.pe_version import version_info

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
VERSION = os.environ.get("FRAMEWRIGHT_PROJECT_VERSION", "")
RELEASE_DIR = os.environ.get("FRAMEWRIGHT_RELEASE_DIR", os.path.join(ROOT, "build", "release"))
NAME = "Framewright-" + VERSION
ZIP = os.path.join(RELEASE_DIR, NAME + "-win64.zip")
FILES = ["Framewright.exe", "FramewrightCli.exe", "Framewright.ini.sample", "LICENSE.txt",
         "README.txt", "settings.md"]
CAPTURE_IMAGE = 2065

if not VERSION:
    pytest.fail("FRAMEWRIGHT_PROJECT_VERSION (the project's version) is not set", pytrace=False)
if not os.path.isfile(ZIP):
    OTHERS = sorted(os.path.basename(p)
                    for p in glob.glob(os.path.join(RELEASE_DIR, "Framewright-*-win64.zip")))
    if not OTHERS:
        pytest.skip(f"{ZIP} is not built (bash scripts/release.sh)", allow_module_level=True)
    pytest.fail(f"the project's version is {VERSION}, the package in {RELEASE_DIR} is "
                + " ".join(OTHERS), pytrace=False)


def prepare_prefix(scene):
    """The package unpacked into drive C:; its folder is the working folder, its programs run."""
    drive_c = os.path.join(scene.prefix.path, "drive_c")
    with zipfile.ZipFile(ZIP) as z:
        z.extractall(drive_c)
    scene.work = os.path.join(drive_c, NAME)
    scene.exe = scene.path("Framewright.exe")
    scene.cli_exe = scene.path("FramewrightCli.exe")


def test_the_package_is_one_folder_of_its_files():
    with zipfile.ZipFile(ZIP) as z:
        assert sorted(z.namelist()) == sorted([NAME + "/"] + [f"{NAME}/{f}" for f in FILES])


@pytest.mark.parametrize("program", ["Framewright", "FramewrightCli"])
def test_version_information_of_both_programs(scene, program):
    # The fixed block holds four numbers: the version's, the missing ones 0 (1.2 is 1.2.0.0).
    numbers = ".".join((VERSION.split(".") + ["0"] * 4)[:4])
    expected = {"fixed.FileVersion": numbers, "fixed.ProductVersion": numbers,
                "040904b0.FileVersion": VERSION, "040904b0.ProductVersion": VERSION,
                "040904b0.OriginalFilename": program + ".exe"}
    info = version_info(scene.path(program + ".exe"))
    assert {key: info.get(key) for key in expected} == expected


def test_version_shown_by_the_cli_and_both_readmes(scene):
    assert scene.cli("--version") == (0, "FramewrightCli " + VERSION)
    with open(scene.path("README.txt"), "rb") as f:
        assert f.readline().rstrip(b"\r\n").decode() == "Framewright " + VERSION
    # Every package name the README gives is this version's (a forgotten one names an old zip).
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
        named = set(re.findall(r"Framewright-[0-9A-Za-z.-]*-win64\.zip", f.read()))
    assert named == {os.path.basename(ZIP)}


def sample_brightness(scene):
    with open(scene.path("Framewright.ini.sample"), "rb") as f:
        return int(re.search(rb"^Brightness=(\d+)\r$", f.read(), re.M).group(1))


def sample_applied(scene):
    """(the writes of the sample's brightness, the set requests the camera refused: a key missing
    from the sample is written as -1, which a ranged property refuses)."""
    log = scene.cameras.log
    return (len(log.matching(f" procamp set id=0 value={sample_brightness(scene)} ")),
            len([line for line in log.matching(" set ") if not line.endswith("hr=0x00000000")]))


def test_cli_from_the_package_lists_captures_and_applies_the_sample(scene):
    scene.cameras.attach("one.cfg")
    assert scene.cli("list") == (0, "1  Parvanex Virtual Camera")
    assert scene.cli("capture", "--out", "shot.bmp")[0] == 0
    check_image(scene.path("shot.bmp"), 1920, 1080, 128)
    scene.cameras.log.clear()
    assert scene.cli("apply", "--settings", "Framewright.ini.sample")[0] == 0
    assert sample_applied(scene) == (1, 0)


def test_window_program_from_the_package_with_the_sample(scene):
    shutil.copyfile(scene.path("Framewright.ini.sample"), scene.path("Framewright.ini"))
    scene.cameras.log.clear()
    # The focus is the start-up's last request; it comes only after the file passed the check.
    scene.start_tool(applied=True)
    assert sample_applied(scene) == (1, 0)
    # The sample's pictures go to the public Pictures folder, which a standard user may write.
    scene.d.click(CAPTURE_IMAGE)
    check_image(os.path.join(scene.prefix.path, "drive_c", "users", "Public", "Pictures",
                             "Framewright.bmp"), 1920, 1080, sample_brightness(scene))
    assert scene.close_tool() == 0
    # The tool writes each option of [General] it finds missing: the sample lacks none.
    assert scene.read("Framewright.ini") == scene.read("Framewright.ini.sample")
