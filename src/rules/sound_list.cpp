#include "rules/sound_list.h"

#include "rules/sound_files.h"

#include <algorithm>

namespace {

// The keys of paths below the folder, in the list's order. The top folder's files come before a
// subfolder's: their keys begin lower. A path's own bytes end every key, so that names the
// platform orders alike still have one order. A listing gives a folder's files together, so the
// key of the last subfolder is kept.
class CKeys {
public:
    explicit CKeys(CSoundList::TextKey textKey) : m_textKey(textKey) {}

    std::string Of(std::string_view name) {
        const std::size_t slash = name.find_last_of('\\');
        if (slash == std::string_view::npos)
            return "\x01" + m_textKey(name).append(name);
        if (name.compare(0, slash, m_strFolder) != 0) {
            m_strFolder = name.substr(0, slash);
            m_strFolderKey = m_textKey(m_strFolder);
        }
        return "\x02" + m_strFolderKey + m_textKey(name.substr(slash + 1)).append(name);
    }

private:
    CSoundList::TextKey m_textKey;
    std::string m_strFolder, m_strFolderKey;
};

SortedName Entry(std::string name, CSoundList::Fold fold) {
    std::string folded = fold(name);
    if (folded == name)
        folded.clear();
    return {std::move(name), std::move(folded)};
}

} // namespace

// The keys live only while the names are sorted: kept, they would take more than the names.
std::vector<SortedName> CSoundList::Sort(std::vector<std::string> names, TextKey textKey,
                                         Fold fold) {
    CKeys keys(textKey);
    std::vector<std::pair<std::string, std::size_t>> order;
    order.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        order.emplace_back(keys.Of(names[i]), i);
    std::sort(order.begin(), order.end());
    std::vector<SortedName> sorted;
    sorted.reserve(names.size());
    for (const auto& [key, index] : order)
        sorted.push_back(Entry(std::move(names[index]), fold));
    return sorted;
}

void CSoundList::Assign(std::vector<SortedName> sorted) {
    m_entries = std::move(sorted);
}

bool CSoundList::Shows(const SortedName& entry) const {
    return (entry.folded.empty() ? entry.name : entry.folded).find(m_strFilter) !=
           std::string::npos;
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
    CKeys keys(m_textKey);
    const std::string key = keys.Of(change.name);
    const auto at = std::upper_bound(
        m_entries.begin(), m_entries.end(), key,
        [&](const std::string& k, const SortedName& entry) { return k < keys.Of(entry.name); });
    const std::size_t index = at - m_entries.begin();
    m_entries.insert(at, Entry(change.name, m_fold));
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
