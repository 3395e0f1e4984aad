// What tests need to know of the stand-in Outlook: its arguments and exit codes.
#pragma once

// Arguments: "--ignore-close" makes the window refuse WM_CLOSE (as an Outlook busy with a
// dialog would); "--ready <event name>" sets that named event once the window exists.
#define KY_OUTLOOK_IGNORE_CLOSE "--ignore-close"
#define KY_OUTLOOK_READY "--ready"

// Exit code after the window was closed; a terminated stand-in has whatever code the
// terminating call gave, and 2 means bad arguments.
constexpr unsigned long kOutlookStandInClosedExitCode = 3;
constexpr unsigned long kOutlookStandInUsageExitCode = 2;
