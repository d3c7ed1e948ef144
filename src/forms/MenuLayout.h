// The menu bar as the main window shows it: every menu, command, check item and separator line in its order, each
// with its caption and the menu it sits in. The models' menu items take their captions from it and the main window
// builds its menus from it, so each mnemonic (the character after "&") is decided here once.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace qm::forms
{

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

struct MenuEntry
{
    std::string_view name;
    /// The caption with its mnemonic marked by "&" (UTF-8); "" for an item whose caption the program sets later.
    std::string_view caption;
    MenuEntryKind kind;
    /// The menu the entry sits in; "" for the menu bar itself.
    std::string_view menu;
};

/// Returns every entry of the menu bar in the order shown; a menu comes before the entries in it.
std::span<const MenuEntry> menuLayout();

/// Returns the caption of a menu entry ("" for a name the menu bar lacks).
std::string_view menuCaption(std::string_view name);

/// Returns the mnemonic of a caption: the character after its first single "&" ("&&" shows an ampersand),
/// upper-cased; nothing when it has none.
std::optional<char> mnemonic(std::string_view caption);

} // namespace qm::forms
