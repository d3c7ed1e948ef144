// The APRS symbols a tracker can show on the map: the names of the primary and alternate symbol tables, the
// symbol table a Separator character chooses, and the common symbols for a pick list.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

/// One symbol: the table character ('/' primary, '\\' alternate) and the symbol character.
struct AprsSymbol
{
    char table = '/';
    char code = '>';
    std::string name;

    bool operator==(const AprsSymbol&) const = default;
};

/// Returns the name of a symbol: the table is a Separator character ('/' primary, '\\' alternate, or a digit or
/// capital letter laid over the alternate symbol); nothing for a character the tables leave unassigned or a
/// table character APRS does not have.
std::optional<std::string> symbolName(char table, char code);

/// Returns what a Separator character chooses: "primary symbol table", "alternate symbol table", "alternate
/// symbol table with overlay X"; nothing for a character that chooses no table.
std::optional<std::string> symbolTableName(char table);

/// Returns the symbols trackers commonly show, for a pick list: vehicles, people, boats and fixed stations.
std::vector<AprsSymbol> commonSymbols();

} // namespace qm::shell
