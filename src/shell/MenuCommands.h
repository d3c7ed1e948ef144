// The menu commands the core carries out, each by its item.
#pragma once

#include "forms/MenuLayout.h"

namespace qm::shell
{

class Program;

/// Carries out a menu command: a mode, a recent file, a COM port, a baud rate or a command of the File, Setup or
/// Help menu. Returns false for an item the core does not carry out (a menu, or a command of the desktop program).
bool carryOutMenuCommand(Program& program, forms::MenuId item);

} // namespace qm::shell
