#include "rules/sound_list.h"

#include "rules/sound_files.h"

#include <algorithm>

namespace {

bool ByKey(const SortedName& a, const SortedName& b) {
    return a.key < b.key;
}

} // namespace

// The top folder's files before a subfolder's: its keys begin lower. A path's own bytes end
// every key, so that names the platform orders alike still have one order.
SortedName CSoundList::Entry(std::string name, TextKey textKey, Fold fold) {
    const std::size_t slash = name.find_last_of('\\');
    std::string key = slash == std::string::npos
                          ? "\x01" + textKey(name)
                          : "\x02" + textKey(name.substr(0, slash)) + textKey(name.substr(slash + 1));
    key += name;
    std::string folded = fold(name);
    return {std::move(key), std::move(name), std::move(folded)};
}

std::vector<SortedName> CSoundList::Sort(std::vector<std::string> names, TextKey textKey,
                                         Fold fold) {
    std::vector<SortedName> sorted;
    sorted.reserve(names.size());
    for (std::string& name : names)
        sorted.push_back(Entry(std::move(name), textKey, fold));
    std::sort(sorted.begin(), sorted.end(), ByKey);
    return sorted;
}

void CSoundList::Assign(std::vector<SortedName> sorted) {
    m_entries = std::move(sorted);
}

bool CSoundList::Shows(const SortedName& entry) const {
    return entry.folded.find(m_strFilter) != std::string::npos;
}

int CSoundList::ShownBefore(std::size_t entry) const {
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.begin() + entry,
                                          [this](const SortedName& e) { return Shows(e); }));
}

int CSoundList::Apply(const FolderChange& change) {
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(),
                     [&](const SortedName& entry) { return m_same(entry.name, change.name); });
    if (change.added == (found != m_entries.end()))
        return -1;
    if (!change.added) {
        const std::size_t index = found - m_entries.begin();
        const int shown = Shows(*found) ? ShownBefore(index) : -1;
        m_entries.erase(found);
        return shown;
    }
    SortedName entry = Entry(change.name, m_textKey, m_fold);
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), entry, ByKey);
    const std::size_t index = at - m_entries.begin();
    m_entries.insert(at, std::move(entry));
    return Shows(m_entries[index]) ? ShownBefore(index) : -1;
}

void CSoundList::Filter(std::string_view text) {
    m_strFilter = m_fold(text);
}

std::vector<std::string> CSoundList::Shown() const {
    std::vector<std::string> names;
    for (const SortedName& entry : m_entries) {
        if (Shows(entry))
            names.push_back(entry.name);
    }
    return names;
}

int CSoundList::IndexOf(std::string_view name) const {
    int shown = 0;
    for (const SortedName& entry : m_entries) {
        if (!Shows(entry))
            continue;
        if (m_same(entry.name, name))
            return shown;
        ++shown;
    }
    return -1;
}

std::optional<std::string> CSoundList::At(int index) const {
    for (const SortedName& entry : m_entries) {
        if (Shows(entry) && index-- == 0)
            return entry.name;
    }
    return std::nullopt;
}

std::size_t CSoundList::ShownCount() const {
    return std::count_if(m_entries.begin(), m_entries.end(),
                         [this](const SortedName& entry) { return Shows(entry); });
}

bool CSoundList::Contains(std::string_view name) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const SortedName& entry) { return m_same(entry.name, name); });
}

std::size_t CSoundList::CountNamed(std::string_view fileName) const {
    return std::count_if(m_entries.begin(), m_entries.end(), [&](const SortedName& entry) {
        return m_same(NameOf(entry.name), fileName);
    });
}

Ticks CQuietPeriod::Changed(Ticks now) {
    if (!m_first)
        m_first = now;
    const Ticks latest = *m_first + m_nLatest;
    return latest > now ? std::min(m_nQuiet, latest - now) : 0;
}
