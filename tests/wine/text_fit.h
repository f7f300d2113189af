// What driver.exe and text_fit_hook.dll agree on for text-fit.
#pragma once

// The registered message the driver sends to the tool's main window: LPARAM the driver's process
// id. The hook measures on the tool's thread before the window procedure sees the message, so the
// report is complete when the send returns.
constexpr char kTextFitMessage[] = "FramewrightDriverTextFit";
// The shared memory the driver creates for the report, with its process id in the name: one
// NUL-terminated text of at most kTextFitReportBytes.
constexpr char kTextFitMappingFormat[] = "FramewrightDriverTextFit-%lu";
constexpr unsigned kTextFitReportBytes = 64 * 1024;
