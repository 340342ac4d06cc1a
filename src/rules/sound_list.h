// The sound files that the main list shows, in its order, and when a folder that changes is
// listed again. Portable: the platform gives the order and the comparison of names.
#pragma once
#include "rules/client.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CSoundList {
public:
    // The key that orders a name in the list: names are listed in the byte order of their keys.
    using SortKey = std::string (*)(std::string_view name);
    // a and b name the same file, as the file system compares names.
    using Same = bool (*)(std::string_view a, std::string_view b);

    CSoundList(SortKey sortKey, Same same) : m_sortKey(sortKey), m_same(same) {}

    // Replaces the names with those of a listing, in any order.
    void Assign(std::vector<std::string> names);
    const std::vector<std::string>& Names() const { return m_names; }
    // The index of the entry that names this file; -1 when there is none.
    int IndexOf(const std::string& name) const;
    // The name at the index; nullopt when it names no entry.
    std::optional<std::string> At(int index) const;

private:
    SortKey m_sortKey;
    Same m_same;
    std::vector<std::string> m_names;
};

// When a folder that changes is listed again: once its changes pause for `quiet`, and at most
// `latest` after the first change of a burst, so that a burst costs one listing.
class CQuietPeriod {
public:
    CQuietPeriod(Ticks quiet, Ticks latest) : m_nQuiet(quiet), m_nLatest(latest) {}

    // A change came at `now`: how long to wait from now before listing.
    Ticks Changed(Ticks now);
    // The folder has been listed: the next change starts a new burst.
    void Listed() { m_first.reset(); }

private:
    Ticks m_nQuiet, m_nLatest;
    std::optional<Ticks> m_first; // the first change not yet listed
};
