// What the command-line program's exit code tells a script. The codes are documented in --help
// and in the README; a new one goes into both.
#pragma once

enum ExitCode {
    kExitDone = 0,
    kExitArguments = 2, // wrong arguments; a usage line on stderr
    kExitNoCamera = 3,  // --camera names no camera found
    kExitRefused = 4,   // the camera refused a request; the others were still made
    kExitSettings = 5,  // the settings file could not be read or written, or names other cameras
    kExitCapture = 6,   // no frame (time-out, busy camera, no graph), or the image not written
};
