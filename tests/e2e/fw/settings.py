"""Settings files as the tool writes them: one table of the General keys and of the camera
section of one.cfg's camera at its own values, in the tool's order."""

GENERAL = [("NumberOfCameras", "1"), ("InternalDisplay", "0"),
           ("ImageSavePath", "C:\\W1X9Image.bmp"), ("StartWithPreview", "0"),
           ("ExitOnCapture", "0"), ("CaptureOnStart", "0"), ("UsePrintKeyToCaptureImages", "0"),
           ("UseMinMaxOnPrintKey", "0"), ("HideAppWhenInactive", "0"), ("ImageCounter", "0"),
           ("ReviewTimeMs", "1500"), ("IncrementImageName", "0"), ("InitAndExit", "0")]
# A first start writes neither of these two: a second start appends them.
SECOND_START_ONLY = ("IncrementImageName", "InitAndExit")
CAMERA = [("Name", "Parvanex Virtual Camera"), ("LEDInfo", "3"), ("PowerScheme", "1"),
          ("Brightness", "128"), ("Contrast", "32"), ("Saturation", "64"), ("Sharpness", "24"),
          ("WhiteBalance", "4000"), ("BacklightCompensation", "0"), ("Gain", "0"),
          ("Zoom", "100"), ("ExposureTime", "333"), ("FocusValue", "128"), ("Resolution", "0"),
          ("ResolutionX", "0"), ("ResolutionY", "0"), ("FlagBrightness", "0"),
          ("FlagContrast", "0"), ("FlagSaturation", "0"), ("FlagSharpness", "0"),
          ("FlagWhiteBalance", "1"), ("FlagBacklightCompensation", "0"), ("FlagGain", "0"),
          ("FlagZoom", "0"), ("FlagExposureTime", "1"), ("FlagFocusValue", "1"),
          ("FlagAutomatic", "1")]


def settings_bytes(first_start=False, **changes):
    """The file's bytes; changes name General keys, or camera keys as "Camera0.KEY" (pass them
    with **{"Camera0.Brightness": "90"})."""
    general = [kv for kv in GENERAL if not (first_start and kv[0] in SECOND_START_ONLY)]
    order = [("General", general), ("Camera0", CAMERA)]
    sections = {section: dict(keys) for section, keys in order}
    for key, value in changes.items():
        section, _, name = key.rpartition(".")
        table = sections[section or "General"]
        if name not in table:
            raise KeyError("no settings key " + key)
        table[name] = str(value)
    return "".join("[%s]\r\n" % section + "".join("%s=%s\r\n" % (name, sections[section][name])
                                                 for name, _ in keys)
                   for section, keys in order).encode("latin-1")


def write_settings(path, first_start=False, **changes):
    with open(path, "wb") as f:
        f.write(settings_bytes(first_start, **changes))


def setting(path, key):
    """The value of a General key in a settings file, None when it is missing."""
    with open(path, "rb") as f:
        for line in f.read().decode("latin-1").splitlines():
            if line.startswith(key + "="):
                return line.split("=", 1)[1]
    return None
