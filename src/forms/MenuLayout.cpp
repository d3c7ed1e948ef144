// The menu bar as the main window shows it, with every caption and mnemonic.
#include "forms/MenuLayout.h"

#include <array>
#include <cctype>

namespace qm::forms
{

namespace
{

using enum MenuEntryKind;

// Each menu's mnemonics differ from one another; the menu bar's are also the main window's Alt keys, which the
// option boxes and the Disconnect button must not take.
constexpr std::array kMenuBar{
    MenuEntry{"file", "&File", Menu, ""},
    MenuEntry{"newconfiguration", "&New Configuration File", Command, "file"},
    MenuEntry{"openconfiguration", "&Open Configuration File ...", Command, "file"},
    MenuEntry{"recentfiles", "&Recent Files", Menu, "file"},
    MenuEntry{"recentfile1", "", Command, "recentfiles"},
    MenuEntry{"recentfile2", "", Command, "recentfiles"},
    MenuEntry{"recentfile3", "", Command, "recentfiles"},
    MenuEntry{"recentfile4", "", Command, "recentfiles"},
    MenuEntry{"recentfile5", "", Command, "recentfiles"},
    MenuEntry{"save", "Sa&ve Configuration File", Command, "file"},
    MenuEntry{"saveconfiguration", "&Save Configuration File As ...", Command, "file"},
    MenuEntry{"space1", "-", Separator, "file"},
    MenuEntry{"memorizedefaults", "&Memorize Defaults", Command, "file"},
    MenuEntry{"space2", "-", Separator, "file"},
    MenuEntry{"printprofiles", "&Print Profiles", Command, "file"},
    MenuEntry{"printerfont", "Select Printer &Font", Command, "file"},
    MenuEntry{"printpreview", "Pr&int Preview...", Command, "file"},
    MenuEntry{"exportpdf", "&Export Profiles as PDF...", Command, "file"},
    MenuEntry{"restorebackup", "Restore from &Backup...", Command, "file"},
    MenuEntry{"space3", "-", Separator, "file"},
    MenuEntry{"exit", "E&xit", Command, "file"},
    MenuEntry{"read", "&Read", Command, ""},
    MenuEntry{"write", "&Write", Command, ""},
    MenuEntry{"mode", "&Mode", Menu, ""},
    MenuEntry{"telemetry", "&Telemetry", CheckItem, "mode"},
    MenuEntry{"beacon", "&Beacon", CheckItem, "mode"},
    MenuEntry{"nmea", "&NMEA", CheckItem, "mode"},
    MenuEntry{"tracking", "T&racking", CheckItem, "mode"},
    MenuEntry{"alarm", "&Alarm", CheckItem, "mode"},
    MenuEntry{"setup", "&Setup", Menu, ""},
    MenuEntry{"serialport", "Serial &Port", Menu, "setup"},
    MenuEntry{"com1", "COM&1", CheckItem, "serialport"},
    MenuEntry{"com2", "COM&2", CheckItem, "serialport"},
    MenuEntry{"com3", "COM&3", CheckItem, "serialport"},
    MenuEntry{"com4", "COM&4", CheckItem, "serialport"},
    MenuEntry{"space14", "-", Separator, "serialport"},
    MenuEntry{"otherdevice", "&Other Device...", CheckItem, "serialport"},
    MenuEntry{"space10", "-", Separator, "setup"},
    MenuEntry{"inputbaudrate", "&Input Baud Rate", Menu, "setup"},
    MenuEntry{"in1200", "&1200", CheckItem, "inputbaudrate"},
    MenuEntry{"in2400", "&2400", CheckItem, "inputbaudrate"},
    MenuEntry{"in4800", "&4800", CheckItem, "inputbaudrate"},
    MenuEntry{"in9600", "&9600", CheckItem, "inputbaudrate"},
    MenuEntry{"space11", "-", Separator, "setup"},
    MenuEntry{"outputbaudrate", "&Ouput Baud Rate", Menu, "setup"},
    MenuEntry{"out300", "&300", CheckItem, "outputbaudrate"},
    MenuEntry{"out1200", "&1200", CheckItem, "outputbaudrate"},
    MenuEntry{"space12", "-", Separator, "setup"},
    MenuEntry{"verifyafterwrite", "&Verify After Write", CheckItem, "setup"},
    MenuEntry{"help", "&Help", Menu, ""},
    MenuEntry{"contents", "&Contents", Command, "help"},
    MenuEntry{"space13", "-", Separator, "help"},
    MenuEntry{"about", "&About This Program", Command, "help"},
};

} // namespace

std::span<const MenuEntry> menuLayout()
{
    return kMenuBar;
}

std::string_view menuCaption(std::string_view name)
{
    for (const MenuEntry& entry : kMenuBar)
        if (entry.name == name)
            return entry.caption;
    return {};
}

std::optional<char> mnemonic(std::string_view caption)
{
    for (std::size_t at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != '&')
            continue;
        if (caption[at + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[at + 1])));
        ++at;
    }
    return std::nullopt;
}

} // namespace qm::forms
