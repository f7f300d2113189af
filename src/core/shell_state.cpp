#include "core/shell_state.h"

ShellState Shell;
