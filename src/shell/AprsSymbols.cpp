// The APRS symbol tables.
#include "shell/AprsSymbols.h"

#include <string_view>

namespace qm::shell
{

namespace
{

struct Named
{
    char code;
    std::string_view name;
};

// Symbols '!' to '~' that the tables assign; the characters left out are reserved or unassigned.
constexpr Named kPrimary[] = {
    {'!', "Police, sheriff"},
    {'#', "Digipeater"},
    {'$', "Phone"},
    {'%', "DX cluster"},
    {'&', "HF gateway"},
    {'\'', "Small aircraft"},
    {'(', "Mobile satellite station"},
    {')', "Wheelchair"},
    {'*', "Snowmobile"},
    {'+', "Red Cross"},
    {',', "Boy Scouts"},
    {'-', "House"},
    {'.', "X"},
    {'/', "Red dot"},
    {'0', "Circle 0"},
    {'1', "Circle 1"},
    {'2', "Circle 2"},
    {'3', "Circle 3"},
    {'4', "Circle 4"},
    {'5', "Circle 5"},
    {'6', "Circle 6"},
    {'7', "Circle 7"},
    {'8', "Circle 8"},
    {'9', "Circle 9"},
    {':', "Fire"},
    {';', "Campground"},
    {'<', "Motorcycle"},
    {'=', "Railroad engine"},
    {'>', "Car"},
    {'?', "File server"},
    {'@', "Hurricane predicted path"},
    {'A', "Aid station"},
    {'B', "BBS"},
    {'C', "Canoe"},
    {'E', "Eyeball (event)"},
    {'F', "Farm vehicle"},
    {'G', "Grid square"},
    {'H', "Hotel"},
    {'I', "TCP/IP network station"},
    {'K', "School"},
    {'L', "PC user"},
    {'M', "MacAPRS"},
    {'N', "NTS station"},
    {'O', "Balloon"},
    {'P', "Police"},
    {'R', "Recreational vehicle"},
    {'S', "Space shuttle"},
    {'T', "SSTV"},
    {'U', "Bus"},
    {'V', "ATV"},
    {'W', "National Weather Service site"},
    {'X', "Helicopter"},
    {'Y', "Sailboat"},
    {'Z', "WinAPRS"},
    {'[', "Jogger"},
    {'\\', "Triangle (DF station)"},
    {']', "Post office"},
    {'^', "Large aircraft"},
    {'_', "Weather station"},
    {'`', "Dish antenna"},
    {'a', "Ambulance"},
    {'b', "Bicycle"},
    {'c', "Incident command post"},
    {'d', "Fire department"},
    {'e', "Horse"},
    {'f', "Fire truck"},
    {'g', "Glider"},
    {'h', "Hospital"},
    {'i', "Island (IOTA)"},
    {'j', "Jeep"},
    {'k', "Truck"},
    {'l', "Laptop"},
    {'m', "Mic-E repeater"},
    {'n', "Node"},
    {'o', "Emergency operations centre"},
    {'p', "Dog"},
    {'q', "Grid square above 128 m"},
    {'r', "Repeater"},
    {'s', "Power boat"},
    {'t', "Truck stop"},
    {'u', "Semi-trailer truck"},
    {'v', "Van"},
    {'w', "Water station"},
    {'x', "xAPRS (Unix)"},
    {'y', "Yagi antenna at home"},
};

constexpr Named kAlternate[] = {
    {'!', "Emergency"},
    {'#', "Digipeater (green star)"},
    {'$', "Bank or ATM"},
    {'%', "Power plant"},
    {'&', "Gateway"},
    {'\'', "Crash site"},
    {'(', "Cloudy"},
    {')', "Firenet"},
    {'*', "Snow"},
    {'+', "Church"},
    {',', "Girl Scouts"},
    {'-', "House (HF)"},
    {'.', "Ambiguous position"},
    {'/', "Waypoint"},
    {'0', "Circle (IRLP, EchoLink, WIRES)"},
    {'8', "802.11 network node"},
    {'9', "Gas station"},
    {':', "Hail"},
    {';', "Park, picnic area"},
    {'<', "Advisory (weather flag)"},
    {'>', "Car (overlaid)"},
    {'?', "Information kiosk"},
    {'@', "Hurricane, tropical storm"},
    {'A', "Box (DTMF, RFID)"},
    {'B', "Blowing snow"},
    {'C', "Coast Guard"},
    {'D', "Depot"},
    {'E', "Smoke"},
    {'F', "Freezing rain"},
    {'G', "Snow shower"},
    {'H', "Haze"},
    {'I', "Rain shower"},
    {'J', "Lightning"},
    {'K', "Kenwood radio"},
    {'L', "Lighthouse"},
    {'M', "MARS station"},
    {'N', "Navigation buoy"},
    {'O', "Balloon or rocket"},
    {'P', "Parking"},
    {'Q', "Earthquake"},
    {'R', "Restaurant"},
    {'S', "Satellite"},
    {'T', "Thunderstorm"},
    {'U', "Sunny"},
    {'V', "VORTAC navigation aid"},
    {'W', "National Weather Service site (overlaid)"},
    {'X', "Pharmacy"},
    {'Y', "Radios and devices"},
    {'[', "Wall cloud"},
    {'\\', "GPS symbol"},
    {'^', "Aircraft (overlaid)"},
    {'_', "Weather site"},
    {'`', "Rain"},
    {'a', "ARRL, ARES, Winlink"},
    {'b', "Blowing dust or sand"},
    {'c', "Civil defence (RACES)"},
    {'d', "DX spot"},
    {'e', "Sleet"},
    {'f', "Funnel cloud"},
    {'g', "Gale flags"},
    {'h', "Store"},
    {'i', "Point of interest"},
    {'j', "Work zone"},
    {'k', "Special vehicle (SUV, ATV, 4x4)"},
    {'l', "Area"},
    {'m', "Value sign"},
    {'n', "Triangle (overlaid)"},
    {'o', "Small circle"},
    {'p', "Partly cloudy"},
    {'r', "Restrooms"},
    {'s', "Ship (overlaid)"},
    {'t', "Tornado"},
    {'u', "Truck (overlaid)"},
    {'v', "Van (overlaid)"},
    {'w', "Flooding"},
    {'x', "Wreck or obstruction"},
    {'y', "Skywarn"},
    {'z', "Shelter (overlaid)"},
    {'{', "Fog"},
};

/// The symbols a tracker commonly shows, in the order a pick list offers them.
constexpr struct
{
    char table;
    char code;
} kCommon[] = {
    {'/', '>'}, {'/', 'k'}, {'/', 'v'}, {'/', 'j'}, {'/', 'u'}, {'/', 'U'},  {'/', 'R'},  {'/', '<'},
    {'/', 'b'}, {'/', '['}, {'/', 'e'}, {'/', 's'}, {'/', 'Y'}, {'/', '\''}, {'/', 'O'},  {'/', 'X'},
    {'/', 'a'}, {'/', 'f'}, {'/', '-'}, {'/', '#'}, {'/', '_'}, {'/', '/'},  {'\\', '!'},
};

template <std::size_t N>
std::optional<std::string> find(const Named (&table)[N], char code)
{
    for (const auto& symbol : table)
        if (symbol.code == code)
            return std::string(symbol.name);
    return std::nullopt;
}

bool isOverlay(char table)
{
    return (table >= '0' && table <= '9') || (table >= 'A' && table <= 'Z');
}

} // namespace

std::optional<std::string> symbolName(char table, char code)
{
    if (table == '/')
        return find(kPrimary, code);
    if (table == '\\')
        return find(kAlternate, code);
    if (isOverlay(table))
        if (auto name = find(kAlternate, code))
            return *name + " with overlay " + table;
    return std::nullopt;
}

std::optional<std::string> symbolTableName(char table)
{
    if (table == '/')
        return "primary symbol table";
    if (table == '\\')
        return "alternate symbol table";
    if (isOverlay(table))
        return std::string("alternate symbol table with overlay ") + table;
    return std::nullopt;
}

std::vector<AprsSymbol> commonSymbols()
{
    std::vector<AprsSymbol> symbols;
    for (const auto& common : kCommon)
        symbols.push_back({common.table, common.code, symbolName(common.table, common.code).value_or("")});
    return symbols;
}

} // namespace qm::shell
