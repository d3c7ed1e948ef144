// The menu bar as the main window shows it: every menu, command, check item and separator line in its order, each
// with its caption, its keys and the menu it sits in. The menu models take their names and captions from it and
// the main window builds its menus from it, so each item, mnemonic (the character after "&") and shortcut is
// decided here once.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace qm::forms
{

/// Every item of the menu bar apart from the separator lines. The items of a row (the recent files, the modes, the
/// COM ports, the input and the output baud rates) follow one another in the order shown.
enum class MenuId
{
    File,
    NewConfiguration,
    OpenConfiguration,
    RecentFiles,
    RecentFile1,
    RecentFile2,
    RecentFile3,
    RecentFile4,
    RecentFile5,
    Save,
    SaveConfigurationAs,
    MemorizeDefaults,
    PrintProfiles,
    PrinterFont,
    PrintPreview,
    ExportPdf,
    RestoreBackup,
    Exit,
    Read,
    Write,
    Mode,
    Telemetry,
    Beacon,
    Nmea,
    Tracking,
    Alarm,
    Setup,
    SerialPort,
    Com1,
    Com2,
    Com3,
    Com4,
    OtherDevice,
    InputBaudRate,
    In1200,
    In2400,
    In4800,
    In9600,
    OutputBaudRate,
    Out300,
    Out1200,
    VerifyAfterWrite,
    Help,
    Contents,
    About,
};

/// The number of menu items (MenuId values).
inline constexpr std::size_t kMenuItemCount = static_cast<std::size_t>(MenuId::About) + 1;

/// What an entry of the menu bar is.
enum class MenuEntryKind
{
    /// A menu or submenu: the entries naming it as their menu sit in it.
    Menu,
    Command,
    /// A command that shows a check mark.
    CheckItem,
    Separator,
};

/// Who carries out a command.
enum class MenuHandler
{
    /// The program's core (every command a test of the core can reach).
    Program,
    /// The desktop program alone: a window or dialog of its own (About, Print Preview, Export Profiles as PDF,
    /// Restore from Backup).
    Desktop,
};

struct MenuEntry
{
    /// The item; nothing for a separator line.
    std::optional<MenuId> id;
    /// The object name of the item's widget.
    std::string_view name;
    /// The caption with its mnemonic marked by "&" (UTF-8); "" for an item whose caption the program sets later.
    std::string_view caption;
    MenuEntryKind kind;
    /// The menu the entry sits in; "" for the menu bar itself.
    std::string_view menu;
    /// The command's keys in portable text ("Ctrl+Shift+S"); "" for none.
    std::string_view shortcut = {};
    /// The command takes the platform's own key for saving (known only to the toolkit) instead of a shortcut.
    bool platformSaveKey = false;
    MenuHandler handler = MenuHandler::Program;
};

/// Returns every entry of the menu bar in the order shown; a menu comes before the entries in it.
std::span<const MenuEntry> menuLayout();

/// Returns the entry of an item.
const MenuEntry& menuEntry(MenuId id);

/// Returns the item with this object name (nothing for a separator or a name the menu bar lacks).
std::optional<MenuId> menuItemNamed(std::string_view name);

/// Returns the caption of a menu entry ("" for a name the menu bar lacks).
std::string_view menuCaption(std::string_view name);

/// Returns the place (0 for the first) of an item in the row that starts at `first` and has `count` items; nothing
/// for an item outside it.
std::optional<int> placeInRow(MenuId item, MenuId first, int count);

/// Returns the mnemonic of a caption: the character after its first single "&" ("&&" shows an ampersand),
/// upper-cased; nothing when it has none.
std::optional<char> mnemonic(std::string_view caption);

} // namespace qm::forms
