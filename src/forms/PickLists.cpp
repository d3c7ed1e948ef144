// The entries of the program's pick lists.
#include "forms/PickLists.h"

#include <cmath>

namespace qm::forms
{

namespace
{

struct TxListRule
{
    const char* first;
    double a;
    double b;
    int size;
    int marked;
};

TxListRule txListRule(bool baud300, bool delay)
{
    if (baud300)
        return delay ? TxListRule{"53 ms", 53.3334, 53.3334, 15, 5} : TxListRule{"27 ms", 26.6667, 26.6667, 15, 2};
    return delay ? TxListRule{"133 ms", 133.3334, 26.6667, 16, 6} : TxListRule{"27 ms", 26.6667, 13.3334, 16, 2};
}

int clampedPosition(int index, int size)
{
    if (index >= size)
        return size - 1;
    return index < -1 ? -1 : index;
}

} // namespace

std::string specialPathLabel(int n)
{
    return "Special Path " + std::to_string(n);
}

std::vector<std::string> txListEntries(bool baud300, bool delay)
{
    const TxListRule rule = txListRule(baud300, delay);
    std::vector<std::string> entries{rule.first};
    for (int i = 1; i < rule.size; ++i) {
        // No computed value lies halfway between two whole numbers, so plain rounding is exact here.
        const long ms = std::lround(rule.a + rule.b * i);
        entries.push_back(std::to_string(ms) + (i == rule.marked ? " ms *" : " ms"));
    }
    return entries;
}

int recommendedTxEntry(bool baud300, bool delay)
{
    return txListRule(baud300, delay).marked;
}

void rebuildTxLists(Windows& windows, bool baud300, int delayIndex, int tailIndex)
{
    for (bool delay : {true, false}) {
        const auto entries = txListEntries(baud300, delay);
        for (const Mode mode : kModes) {
            PickList& list = delay ? windows.station(mode).TxDelay : windows.station(mode).TxTail;
            list.clear();
            for (const auto& entry : entries)
                list.addItem(entry);
        }
    }
    for (const Mode mode : kModes) {
        StationControls& station = windows.station(mode);
        station.TxDelay.setListIndex(clampedPosition(delayIndex, station.TxDelay.count()));
        station.TxTail.setListIndex(clampedPosition(tailIndex, station.TxTail.count()));
    }
}

void relabelSpecialPath(StationControls& station, int n)
{
    const std::string& text = station.SpecPath[static_cast<std::size_t>(n - 1)].text();
    const std::string label = text.empty() ? specialPathLabel(n) : text;
    const int entry = specialPathEntry(n);
    PickList& own = station.Path[static_cast<std::size_t>(n - 1)];
    if (entry < own.count() && own.entries()[static_cast<std::size_t>(entry)] == label)
        return;
    for (PickList& path : station.Path)
        if (entry < path.count())
            path.replaceItem(entry, label);
}

} // namespace qm::forms
