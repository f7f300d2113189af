"""The virtual camera on its own, through vcam_probe.exe: every interface, the pattern pixel by
pixel, the state kept for a second process, an unplug while a program holds a camera, the
USB-shaped cameras and the stand-in converter, and the MJPG frame decoded by djpeg."""
import os
import subprocess

from fw.bitmap import image_problems
from fw.camera import ROOT
from fw.desktop import windows_path
from fw.waits import wait_until

PROBE_CONFIGS = os.path.join(ROOT, "vcam", "tests")


def probe(scene):
    path = os.path.join(scene.build, "vcam_probe.exe")
    assert os.path.isfile(path), f"{path} is not built"
    return path


def run_probe(scene, *args, timeout=180, **env):
    """The probe's own checks: it prints each and exits 0 only when all passed."""
    scene.prefix.env.update(env)
    result = scene.prefix.run([probe(scene)] + list(args), timeout=timeout)
    out = result.stdout.decode("latin-1").replace("\r", "")
    failed = [line for line in out.splitlines() if line.startswith("FAIL")]
    assert (result.returncode, failed) == (0, []), out[-3000:]
    assert " checks, 0 failed" in out, "the probe did not run to its end"
    return out


def test_every_interface_and_the_pattern(scene):
    scene.cameras.attach(os.path.join(PROBE_CONFIGS, "probe_config.txt"))
    run_probe(scene, "--vmr9")


def test_state_kept_for_a_second_process(scene):
    run_probe(scene, "--state", timeout=60)


def test_unplug_while_a_program_holds_the_camera(scene):
    ready = os.path.join(scene.tmp, "ready")
    holder = scene.prefix.start([probe(scene), "--unplug", windows_path(ready)],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    assert wait_until(30, lambda: os.path.exists(ready) or holder.poll() is not None)
    assert os.path.exists(ready), "the probe did not get to hold camera 4"
    scene.cameras.unplug(4, notify=False)
    out = holder.communicate(timeout=90)[0].decode("latin-1")
    assert holder.returncode == 0 and " checks, 0 failed" in out, out[-3000:]


def test_usb_shaped_cameras_and_the_converter(scene):
    scene.cameras.plug(os.path.join(PROBE_CONFIGS, "probe_uvc.txt"), notify=False)
    jpeg = os.path.join(scene.tmp, "mjpg-frame.jpg")
    run_probe(scene, "--uvc", timeout=120, VCAM_PROBE_JPEG=jpeg)
    run_probe(scene, "--convert", timeout=120)
    # The camera's MJPG frame as any JPEG decoder sees it: the pattern at brightness 150, within
    # 6 levels away from the edges (djpeg blends chroma across them).
    bmp = os.path.join(scene.tmp, "mjpg-frame.bmp")
    subprocess.run(["djpeg", "-bmp", "-outfile", bmp, jpeg], check=True)
    assert image_problems(bmp, 1920, 1080, 150, near=(6, 8))[0] == []
