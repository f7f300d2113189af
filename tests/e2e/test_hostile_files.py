"""Captures against hostile files under Wine's file functions, where only Wine shows what they
do: save paths near the length limit, fixed and counted; an image and a settings file held open
without sharing by another program; read-only images, folders and settings files (where file
modes bind this user); the counter at its limit. The tool never dies, every image written is one
whole frame as its headers describe it, a failed capture changes no file and leaves no temporary
one. The rest of the tables (missing folders and drives, empty, short and too long names, full
disks, the numbers given back) are tests/host/hostile_files_test.cpp's and
still_capture_test.cpp's."""
import contextlib
import hashlib
import os
import re
import subprocess

import pytest

from fw.bitmap import check_image
from fw.capture import remove_images
from fw.desktop import windows_path
from fw.settings import setting, write_settings
from fw.waits import wait_until

INI = "Framewright.ini"
LAST_NUMBER = 2147483647
FRAMES = []  # the frame numbers of the images written at Still.bmp, in order
# Save paths' lengths near the limit, where Wine's own limits meet the tool's: a fixed name is
# written up to 254 characters (near the limit the temporary name is a short one), and a six-digit
# number fits a 253-character counted save path (259 characters). The longer ones the tool refuses
# before any file function sees them.
FIXED = [252, 253, 254]
COUNTED = [252, 253]


def work_win(scene):
    return windows_path(scene.work) + "\\"


def padded(scene, length):
    """A name in the working folder whose Windows path has that length and ends in ".bmp"."""
    return "p" * (length - len(work_win(scene)) - 4) + ".bmp"


def set_save_path(scene, value):
    """The running tool's save path, changed in its settings file (read at every capture)."""
    text = scene.read(INI).decode("latin-1")
    text, n = re.subn(r"(?m)^ImageSavePath=[^\r\n]*", lambda m: "ImageSavePath=" + value, text, 1)
    assert n == 1
    with open(scene.path(INI), "wb") as f:
        f.write(text.encode("latin-1"))


def files(scene):
    """Every file (with a digest of its bytes) and folder under the working folder."""
    found = {}
    for folder, dirs, names in os.walk(scene.work):
        for path in (os.path.join(folder, name) for name in dirs + names):
            found[os.path.relpath(path, scene.work)] = "folder" if os.path.isdir(path) else \
                hashlib.sha1(open(path, "rb").read()).hexdigest()
    return found


def capture(scene, what):
    assert scene.d.click(2065) == "clicked 2065", f"{what}: the capture's click returned"
    assert scene.d.wait_window(5000), f"{what}: the tool is still running"


def written(scene, name, what):
    """A capture that writes one 1080p frame at name and leaves no temporary file; its frame
    number."""
    capture(scene, what)
    assert os.path.isfile(scene.path(name)), f"{what}: no image {name}"
    assert [n for n in files(scene) if "partial" in n.lower()] == [], f"{what}: temporary file"
    return check_image(scene.path(name), 1920, 1080, 128)


def refused(scene, what):
    """A capture that fails and changes nothing in the working folder."""
    before = files(scene)
    capture(scene, what)
    assert files(scene) == before, f"{what}: a file was written or changed"


def need_binding_modes(scene):
    """Skips the test when file modes do not refuse this user a write (root)."""
    probe = os.path.join(scene.tmp, "mode-probe")
    open(probe, "w").close()
    os.chmod(probe, 0o444)
    try:
        open(probe, "a").close()
    except PermissionError:
        return
    pytest.skip(f"file modes do not bind uid {os.getuid()} (see docs/wine-notes.md)")


@contextlib.contextmanager
def held(scene, path):
    """path held open without sharing by hold_file.exe until the block ends."""
    release, said = os.path.join(scene.tmp, "release"), os.path.join(scene.tmp, "hold.txt")
    if os.path.exists(release):
        os.remove(release)
    # Emptied before the holder starts: the wait below must not read an earlier holder's "held".
    with open(said, "wb") as out:
        holder = scene.prefix.start(
            [os.path.join(scene.build, "hold_file.exe"), windows_path(path), windows_path(release),
             100], stdout=out, stderr=subprocess.STDOUT)

    def output():
        with open(said, "rb") as f:
            return f.read()
    try:
        assert wait_until(60, lambda: re.search(b"held|failed", output())), "the holder started"
        assert b"held" in output(), f"another program holds {path}: {output()!r}"
        yield
    finally:
        open(release, "w").close()
        holder.wait(120)
    assert b"released" in output(), "the other program let go"


def start_session(scene, **settings):
    """The tool started on a settings file of its own, without images, its preview running (so
    that each capture only copies a frame)."""
    remove_images(scene)
    write_settings(scene.path(INI), **settings)
    scene.start_tool()
    scene.d.click(2000)
    assert wait_until(30, lambda: scene.d.text(2000) == "Stop"), "the preview runs"


def end_session(scene):
    scene.d.call("click", scene.title, 2009)
    assert scene.tool.wait_exit(30) == 0


def test_fixed_names_near_the_limit(scene):
    scene.cameras.attach("one.cfg")
    start_session(scene, ImageSavePath=work_win(scene) + "Still.bmp")
    FRAMES.append(written(scene, "Still.bmp", "Still.bmp"))
    for length in FIXED:
        set_save_path(scene, work_win(scene) + padded(scene, length))
        written(scene, padded(scene, length), f"{length} characters")


def test_fixed_files_held_open(scene):
    # An image held open cannot be replaced and stays; a settings file held open cannot be read,
    # so the capture has no path.
    set_save_path(scene, work_win(scene) + "Still.bmp")
    for name in ("Still.bmp", INI):
        with held(scene, scene.path(name)):
            refused(scene, f"{name} held by another program")
    FRAMES.append(written(scene, "Still.bmp", "image let go"))
    assert FRAMES[-1] > FRAMES[0], "the image let go is replaced by a new frame"


def test_fixed_read_only_image_and_folder_stay(scene):
    need_binding_modes(scene)
    folder = scene.path("ro")
    os.mkdir(folder)
    with open(scene.path("ro/Still.bmp"), "wb") as f:
        f.write(scene.read("Still.bmp"))
    os.chmod(scene.path("Still.bmp"), 0o444)
    os.chmod(folder, 0o555)
    try:
        refused(scene, "read-only image")
        set_save_path(scene, work_win(scene) + "ro\\Still.bmp")
        refused(scene, "read-only folder")
    finally:
        os.chmod(scene.path("Still.bmp"), 0o644)
        os.chmod(folder, 0o755)
        os.remove(scene.path("ro/Still.bmp"))
        os.rmdir(folder)


def test_fixed_read_only_settings_file_is_no_obstacle(scene):
    # A fixed name does not write the settings file.
    set_save_path(scene, work_win(scene) + "Still.bmp")
    ini = scene.read(INI)
    os.chmod(scene.path(INI), 0o444)
    os.remove(scene.path("Still.bmp"))
    try:
        written(scene, "Still.bmp", "read-only settings file")
        assert scene.read(INI) == ini, "the settings file is unchanged"
    finally:
        os.chmod(scene.path(INI), 0o644)
    end_session(scene)


def test_counted_names_near_the_limit(scene):
    start_session(scene, ImageSavePath=work_win(scene) + "Shot.bmp", IncrementImageName=1)
    for number, length in enumerate(COUNTED, 1):
        name = padded(scene, length)
        set_save_path(scene, work_win(scene) + name)
        written(scene, f"{name[:-4]}{number:06d}.bmp", f"counted, {length} characters")
        assert setting(scene.path(INI), "ImageCounter") == str(number)


def test_counted_read_only_settings_file_refuses(scene):
    # A counter that cannot be saved refuses the capture: a later start would reuse the number.
    need_binding_modes(scene)
    set_save_path(scene, work_win(scene) + "Shot.bmp")
    os.chmod(scene.path(INI), 0o444)
    try:
        refused(scene, "counted, read-only settings file")
    finally:
        os.chmod(scene.path(INI), 0o644)


def test_counter_at_its_limit(scene):
    # The last number is taken; after it every capture is refused. (The counted session above ends
    # here, since its read-only check may have been skipped.)
    end_session(scene)
    start_session(scene, ImageSavePath=work_win(scene) + "Shot.bmp", IncrementImageName=1,
                  ImageCounter=LAST_NUMBER - 1)
    written(scene, f"Shot{LAST_NUMBER}.bmp", "the last number")
    assert setting(scene.path(INI), "ImageCounter") == str(LAST_NUMBER)
    refused(scene, "no number left")
    end_session(scene)
