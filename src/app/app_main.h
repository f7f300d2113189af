// The tool's entry point behind the platform's WinMain: start-up, the message loop, and the exit
// code that the loop's quit request carries.
#pragma once

#include "platform/types.h"

int AppMain(platform::Instance instance);
