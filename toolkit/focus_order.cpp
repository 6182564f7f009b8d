#include "toolkit/focus_order.h"

#include "toolkit/shortcut.h"

#include <algorithm>

void focus_order_sort(std::vector<FocusEntry>* entries)
{
    // An unranked entry borrows the rank of the entry walked before it; the walk breaks ties.
    std::vector<std::pair<std::int32_t, FocusEntry>> keyed;
    keyed.reserve(entries->size());
    std::int32_t last = 0;
    for (const FocusEntry& entry : *entries) {
        if (entry.rank > 0)
            last = entry.rank;
        keyed.emplace_back(last, entry);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.walk < b.second.walk;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        (*entries)[i] = keyed[i].second;
}

int focus_order_step(const std::vector<FocusEntry>& entries, int from, bool forward)
{
    int count = static_cast<int>(entries.size());
    int index = from;
    for (int tried = 0; tried < count; ++tried) {
        index = shortcut_focus_choice(index, count, forward);
        if (entries[static_cast<std::size_t>(index)].stop)
            return index;
    }
    return -1;
}
