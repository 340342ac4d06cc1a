// The sound files that the main list shows, in its order, how a change of the folder changes
// them, and when a folder that changes is told again. Portable: the platform gives the order and
// the comparison of names.
#pragma once
#include "rules/client.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A sound file come to the folder or gone from it.
struct FolderChange {
    bool added;
    std::string name;
};

// A name with the key that orders it in the list.
struct SortedName {
    std::string key, name;
};

class CSoundList {
public:
    // The key that orders a name in the list: names are listed in the byte order of their keys.
    using SortKey = std::string (*)(std::string_view name);
    // a and b name the same file, as the file system compares names.
    using Same = bool (*)(std::string_view a, std::string_view b);

    CSoundList(SortKey sortKey, Same same) : m_sortKey(sortKey), m_same(same) {}

    // The names of a listing, in any order, with their keys, in the list's order: the work of a
    // big folder, done beside the window's thread.
    static std::vector<SortedName> Sort(std::vector<std::string> names, SortKey sortKey);

    void Assign(std::vector<SortedName> sorted);
    // Applies one change: the index where an entry was put or taken away; -1 when nothing
    // changed (the file was listed already, or was not).
    int Apply(const FolderChange& change);
    const std::vector<SortedName>& Entries() const { return m_entries; }
    // The index of the entry that names this file; -1 when there is none.
    int IndexOf(const std::string& name) const;
    // The name at the index; nullopt when it names no entry.
    std::optional<std::string> At(int index) const;

private:
    SortKey m_sortKey;
    Same m_same;
    std::vector<SortedName> m_entries;
};

// When a folder that changes is told again: once its changes pause for `quiet`, and at most
// `latest` after the first change of a burst, so that a burst costs one telling.
class CQuietPeriod {
public:
    CQuietPeriod(Ticks quiet, Ticks latest) : m_nQuiet(quiet), m_nLatest(latest) {}

    // A change came at `now`: how long to wait from now before telling.
    Ticks Changed(Ticks now);
    // The changes have been told: the next change starts a new burst.
    void Told() { m_first.reset(); }

private:
    Ticks m_nQuiet, m_nLatest;
    std::optional<Ticks> m_first; // the first change not yet told
};
