#include "rules/sound_list.h"

#include <algorithm>

// Each key is made once: keys compare far faster than names in the platform's order.
void CSoundList::Assign(std::vector<std::string> names) {
    std::vector<std::string> keys;
    std::vector<std::size_t> order(names.size());
    keys.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        keys.push_back(m_sortKey(names[i]));
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    m_names.clear();
    m_names.reserve(names.size());
    for (const std::size_t i : order)
        m_names.push_back(std::move(names[i]));
}

int CSoundList::IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (m_same(m_names[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<std::string> CSoundList::At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_names.size())
        return std::nullopt;
    return m_names[static_cast<std::size_t>(index)];
}

Ticks CQuietPeriod::Changed(Ticks now) {
    if (!m_first)
        m_first = now;
    const Ticks latest = *m_first + m_nLatest;
    return latest > now ? std::min(m_nQuiet, latest - now) : 0;
}
