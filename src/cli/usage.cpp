#include "cli/usage.h"

#ifndef FRAMEWRIGHT_VERSION
#error "FRAMEWRIGHT_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace {

struct Form {
    Command command;
    const char* usage;
};
constexpr Form kForms[] = {
    {Command::List, "FramewrightCli list [--json]"},
    {Command::Get, "FramewrightCli get [--camera N] [--json] [PROPERTY ...]"},
    {Command::Set, "FramewrightCli set [--camera N] PROPERTY=VALUE ..."},
    {Command::Apply, "FramewrightCli apply [--camera N] [--settings FILE]"},
    {Command::Save, "FramewrightCli save [--settings FILE]"},
    {Command::Identify, "FramewrightCli identify [--camera N]"},
    {Command::Capture, "FramewrightCli capture [--camera N] --out FILE [--width W --height H] "
                       "[--timeout-ms T] [--settle-ms S]"},
    {Command::Formats, "FramewrightCli formats [--camera N] [--json]"},
    {Command::Watch, "FramewrightCli watch [--settings FILE] [--verify-every SECONDS] [--json]"},
    {Command::Help, "FramewrightCli --help | --version"},
};

// The README's command reference holds this text word for word (a host test compares them).
constexpr const char* kHelpBody = R"(
Commands:
  list      each camera's number and friendly name
  get       each property's value and automatic flag as the camera reports them, with the
            camera's range where it has one (every property when none is named)
  set       each value written as the panel writes it, one request per value, in the order given
  apply     the camera's section of the settings file applied as a start-up applies it, after
            the check that the file describes the cameras attached; no option of [General] is
            acted on, and nothing is written to the file
  save      every camera's current state stored in the settings file, as a first start stores it
  identify  the camera's identification signal, as the panel's button gives it
  capture   one still of the camera's picture written as a bitmap file, without a window; the
            stream format from the camera's section of Framewright.ini, else --width and
            --height, else 1920 x 1080; refused while the window program previews the camera
  formats   each format the camera's capture pin lists: subtype (RGB24 or a FourCC such as
            YUY2 or MJPG), width, height and the frame rates it allows, slowest..fastest;
            capture's --width and --height take one of these sizes
  watch     runs until it is stopped (Ctrl+C, Ctrl+Break, the console closed, logoff,
            shutdown; exit 0) and applies each camera's section as apply does: at start, when
            the camera arrives and after a resume from sleep; with --verify-every it reads each
            stored property back every SECONDS seconds and writes again what another program
            changed (not while the window program runs); one line per event; the settings
            file is only read, anew at each event

Options:
  --camera N        the camera's number on the panel, 1 to 6 (default 1)
  --json            one JSON document instead of aligned text (list, get, formats);
                    watch: one JSON object per line
  --settings FILE   the settings file (default Framewright.ini in the current folder)
  --out FILE        the bitmap file to write
  --width W         the stream format's width and height, with --height
  --height H
  --timeout-ms T    how long to wait for the first frame, in milliseconds (default 3000)
  --settle-ms S     how long the camera runs after its first frame before the still is taken,
                    so that its automatic exposure settles, in milliseconds (default 1000;
                    0 takes the first frame)
  --verify-every S  watch: read the stored properties back every S seconds (1 to 86400)

Properties, in any letter case, and their values:
  LEDInfo                 off, on or auto (or the settings file's codes 0 to 3)
  PowerScheme             off, 50 or 60 (or the settings file's codes 0, 1, 2)
  Brightness              a whole number
  Contrast                a whole number
  Saturation              a whole number
  Sharpness               a whole number
  WhiteBalance            a whole number, or auto
  BacklightCompensation   a whole number
  Gain                    a whole number
  Zoom                    a whole number; an odd one is raised to the next even one
  ExposureTime            a whole number of 0.0001 s (written in manual exposure)
  FocusValue              a whole number; -1 or auto for automatic focus
  CameraMode              auto or manual: the exposure and the frame-rate lock together

Exit codes:
  0  done
  2  wrong arguments (with a usage line on stderr)
  3  no such camera
  4  the camera refused a request; the others were still made, and each refusal is named on
     stderr with its result code (formats: its capability list could not be read whole)
  5  the settings file could not be read or written, or it describes other cameras than those
     attached
  6  no frame within the time-out (also when the window program previews the camera, another
     program uses it, camera access is switched off in the privacy settings, or the capture
     graph could not run), or the image file could not be written
)";

} // namespace

const char* UsageOf(Command command) {
    for (const Form& form : kForms)
        if (form.command == command)
            return form.usage;
    return kForms[sizeof kForms / sizeof kForms[0] - 1].usage;
}

std::string Synopsis() {
    std::string text;
    for (const Form& form : kForms)
        text += std::string(form.usage) + "\n";
    return text;
}

std::string HelpText() {
    std::string text = "FramewrightCli: one action on the vendor's cameras per call.\n\nUsage:\n";
    for (const Form& form : kForms)
        text += std::string("  ") + form.usage + "\n";
    return text + kHelpBody;
}

std::string VersionText() {
    return std::string("FramewrightCli ") + FRAMEWRIGHT_VERSION + "\n";
}
