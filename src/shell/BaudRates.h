// The Setup menu's baud rates: the item checked for each code vq3.ini keeps, and the commands that choose one.
#pragma once

#include "forms/Windows.h"

#include <optional>

namespace qm::shell
{

class IniSettings;
class Session;

/// Checks the Input Baud Rate item of a code (0 1200 .. 3 9600 baud) and unchecks the others; another code
/// changes nothing.
void showInputBaud(forms::Menus& menus, int code);
/// Checks the Output Baud Rate item of a code (0 1200, 1 300 baud), unchecks the other and fills every delay and
/// tail list for that rate; another code changes nothing.
void showOutputBaud(Session& session, int code);
/// Returns the code of the checked Input Baud Rate item; nothing while none is checked.
std::optional<int> checkedInputBaud(const forms::Menus& menus);
/// Returns the code of the checked Output Baud Rate item; nothing while none is checked.
std::optional<int> checkedOutputBaud(const forms::Menus& menus);

/// Setup > Input Baud Rate > an item: checks it alone and keeps the choice in vq3.ini.
void chooseInputBaud(Session& session, IniSettings& ini, int code);
/// Setup > Output Baud Rate > an item: checks it, fills the delay and tail lists for its rate and keeps the
/// choice in vq3.ini.
void chooseOutputBaud(Session& session, IniSettings& ini, int code);

} // namespace qm::shell
