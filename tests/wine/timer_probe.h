// What driver.exe and timer_probe_hook.dll agree on for wait-timers.
#pragma once

// The registered message the driver sends to the tool's main window: WPARAM the probe timer's
// period in milliseconds, LPARAM the driver's process id.
constexpr char kTimerProbeMessage[] = "FramewrightDriverTimerProbe";
// The event the probe timer sets, with the driver's process id in the name.
constexpr char kTimerProbeEventFormat[] = "FramewrightDriverTimerProbe-%lu";
