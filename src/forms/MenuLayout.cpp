// The menu bar as the main window shows it, with every item, caption, mnemonic and shortcut.
#include "forms/MenuLayout.h"

#include <array>
#include <cctype>

namespace qm::forms
{

namespace
{

using enum MenuEntryKind;

// Each menu's mnemonics differ from one another; the menu bar's are also the main window's Alt keys, which the
// option boxes and the Disconnect button must not take. The shortcuts are those desktop programs give the commands
// the user reaches for most; Read and Write take keys no platform claims for itself.
constexpr std::array kMenuBar{
    MenuEntry{MenuId::File, "file", "&File", Menu, ""},
    MenuEntry{MenuId::NewConfiguration, "newconfiguration", "&New Configuration File", Command, "file", "Ctrl+N"},
    MenuEntry{MenuId::OpenConfiguration, "openconfiguration", "&Open Configuration File ...", Command, "file",
              "Ctrl+O"},
    MenuEntry{MenuId::RecentFiles, "recentfiles", "&Recent Files", Menu, "file"},
    MenuEntry{MenuId::RecentFile1, "recentfile1", "", Command, "recentfiles"},
    MenuEntry{MenuId::RecentFile2, "recentfile2", "", Command, "recentfiles"},
    MenuEntry{MenuId::RecentFile3, "recentfile3", "", Command, "recentfiles"},
    MenuEntry{MenuId::RecentFile4, "recentfile4", "", Command, "recentfiles"},
    MenuEntry{MenuId::RecentFile5, "recentfile5", "", Command, "recentfiles"},
    MenuEntry{MenuId::Save, "save", "Sa&ve Configuration File", Command, "file", "", true},
    MenuEntry{MenuId::SaveConfigurationAs, "saveconfiguration", "&Save Configuration File As ...", Command, "file",
              "Ctrl+Shift+S"},
    MenuEntry{std::nullopt, "space1", "-", Separator, "file"},
    MenuEntry{MenuId::MemorizeDefaults, "memorizedefaults", "&Memorize Defaults", Command, "file"},
    MenuEntry{std::nullopt, "space2", "-", Separator, "file"},
    MenuEntry{MenuId::PrintProfiles, "printprofiles", "&Print Profiles", Command, "file", "Ctrl+P"},
    MenuEntry{MenuId::PrinterFont, "printerfont", "Select Printer &Font", Command, "file"},
    MenuEntry{MenuId::PrintPreview, "printpreview", "Pr&int Preview...", Command, "file", "", false,
              MenuHandler::Desktop},
    MenuEntry{MenuId::ExportPdf, "exportpdf", "&Export Profiles as PDF...", Command, "file", "", false,
              MenuHandler::Desktop},
    MenuEntry{MenuId::RestoreBackup, "restorebackup", "Restore from &Backup...", Command, "file", "", false,
              MenuHandler::Desktop},
    MenuEntry{std::nullopt, "space3", "-", Separator, "file"},
    MenuEntry{MenuId::Exit, "exit", "E&xit", Command, "file", "Ctrl+Q"},
    MenuEntry{MenuId::Read, "read", "&Read", Command, "", "Ctrl+R"},
    MenuEntry{MenuId::Write, "write", "&Write", Command, "", "Ctrl+D"},
    MenuEntry{MenuId::Mode, "mode", "&Mode", Menu, ""},
    MenuEntry{MenuId::Telemetry, "telemetry", "&Telemetry", CheckItem, "mode"},
    MenuEntry{MenuId::Beacon, "beacon", "&Beacon", CheckItem, "mode"},
    MenuEntry{MenuId::Nmea, "nmea", "&NMEA", CheckItem, "mode"},
    MenuEntry{MenuId::Tracking, "tracking", "T&racking", CheckItem, "mode"},
    MenuEntry{MenuId::Alarm, "alarm", "&Alarm", CheckItem, "mode"},
    MenuEntry{MenuId::Setup, "setup", "&Setup", Menu, ""},
    MenuEntry{MenuId::SerialPort, "serialport", "Serial &Port", Menu, "setup"},
    MenuEntry{MenuId::Com1, "com1", "COM&1", CheckItem, "serialport"},
    MenuEntry{MenuId::Com2, "com2", "COM&2", CheckItem, "serialport"},
    MenuEntry{MenuId::Com3, "com3", "COM&3", CheckItem, "serialport"},
    MenuEntry{MenuId::Com4, "com4", "COM&4", CheckItem, "serialport"},
    MenuEntry{std::nullopt, "space14", "-", Separator, "serialport"},
    MenuEntry{MenuId::OtherDevice, "otherdevice", "&Other Device...", CheckItem, "serialport"},
    MenuEntry{std::nullopt, "space10", "-", Separator, "setup"},
    MenuEntry{MenuId::InputBaudRate, "inputbaudrate", "&Input Baud Rate", Menu, "setup"},
    MenuEntry{MenuId::In1200, "in1200", "&1200", CheckItem, "inputbaudrate"},
    MenuEntry{MenuId::In2400, "in2400", "&2400", CheckItem, "inputbaudrate"},
    MenuEntry{MenuId::In4800, "in4800", "&4800", CheckItem, "inputbaudrate"},
    MenuEntry{MenuId::In9600, "in9600", "&9600", CheckItem, "inputbaudrate"},
    MenuEntry{std::nullopt, "space11", "-", Separator, "setup"},
    MenuEntry{MenuId::OutputBaudRate, "outputbaudrate", "&Ouput Baud Rate", Menu, "setup"},
    MenuEntry{MenuId::Out300, "out300", "&300", CheckItem, "outputbaudrate"},
    MenuEntry{MenuId::Out1200, "out1200", "&1200", CheckItem, "outputbaudrate"},
    MenuEntry{std::nullopt, "space12", "-", Separator, "setup"},
    MenuEntry{MenuId::VerifyAfterWrite, "verifyafterwrite", "&Verify After Write", CheckItem, "setup"},
    MenuEntry{MenuId::Help, "help", "&Help", Menu, ""},
    MenuEntry{MenuId::Contents, "contents", "&Contents", Command, "help", "F1"},
    MenuEntry{std::nullopt, "space13", "-", Separator, "help"},
    MenuEntry{MenuId::About, "about", "&About This Program", Command, "help", "", false, MenuHandler::Desktop},
};

/// Returns where each item's entry is in the menu bar.
constexpr std::array<std::size_t, kMenuItemCount> entryIndexes()
{
    std::array<std::size_t, kMenuItemCount> indexes{};
    for (std::size_t at = 0; at < kMenuBar.size(); ++at)
        if (kMenuBar[at].id)
            indexes[static_cast<std::size_t>(*kMenuBar[at].id)] = at;
    return indexes;
}

constexpr auto kEntryIndexes = entryIndexes();

} // namespace

std::span<const MenuEntry> menuLayout()
{
    return kMenuBar;
}

const MenuEntry& menuEntry(MenuId id)
{
    return kMenuBar[kEntryIndexes[static_cast<std::size_t>(id)]];
}

std::optional<MenuId> menuItemNamed(std::string_view name)
{
    for (const MenuEntry& entry : kMenuBar)
        if (entry.id && entry.name == name)
            return entry.id;
    return std::nullopt;
}

std::optional<int> placeInRow(MenuId item, MenuId first, int count)
{
    const int place = static_cast<int>(item) - static_cast<int>(first);
    if (place < 0 || place >= count)
        return std::nullopt;
    return place;
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
