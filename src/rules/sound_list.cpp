#include "rules/sound_list.h"

#include <algorithm>

namespace {

bool ByKey(const SortedName& a, const SortedName& b) {
    return a.key < b.key;
}

} // namespace

std::vector<SortedName> CSoundList::Sort(std::vector<std::string> names, SortKey sortKey) {
    std::vector<SortedName> sorted;
    sorted.reserve(names.size());
    for (std::string& name : names)
        sorted.push_back({sortKey(name), std::move(name)});
    std::sort(sorted.begin(), sorted.end(), ByKey);
    return sorted;
}

void CSoundList::Assign(std::vector<SortedName> sorted) {
    m_entries = std::move(sorted);
}

int CSoundList::Apply(const FolderChange& change) {
    const int index = IndexOf(change.name);
    if (change.added == (index >= 0))
        return -1;
    if (!change.added) {
        m_entries.erase(m_entries.begin() + index);
        return index;
    }
    SortedName entry{m_sortKey(change.name), change.name};
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), entry, ByKey);
    const auto inserted = m_entries.insert(at, std::move(entry));
    return static_cast<int>(inserted - m_entries.begin());
}

int CSoundList::IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_same(m_entries[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> CSoundList::At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return std::nullopt;
    return m_entries[static_cast<std::size_t>(index)].name;
}

Ticks CQuietPeriod::Changed(Ticks now) {
    if (!m_first)
        m_first = now;
    const Ticks latest = *m_first + m_nLatest;
    return latest > now ? std::min(m_nQuiet, latest - now) : 0;
}
