// The commands, each returning its exit code. The cameras are discovered before any of them runs;
// those that take --camera run only when it names a camera found.
#pragma once

#include "cli/command_context.h"

int RunList(CommandContext& context);
int RunGet(CommandContext& context);
int RunSet(CommandContext& context);
int RunApply(CommandContext& context);
int RunSave(CommandContext& context);
int RunIdentify(CommandContext& context);
int RunCapture(CommandContext& context);
int RunFormats(CommandContext& context);
int RunWatch(CommandContext& context);
