// The handlers behind the main window's procedure, one file per message family.
#pragma once

#include "platform/types.h"

void HandleCommand(int id);
void HandleSlider(platform::Window trackbar);
void HandleTimer(uintptr_t id);
// The close request: with the minimise rule for the close box, without it for the Exit button.
void CloseSequence(bool minimiseRule);
