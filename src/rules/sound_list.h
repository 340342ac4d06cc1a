// The sound files that the main list shows, in its order, how a change of the folder and the
// search box change them, and when a folder that changes is told again. Portable: the platform
// gives the order of texts, their folding for a search, and the comparison of names.
#pragma once
#include "rules/client.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A sound file come to the folder or gone from it: its path below the folder ("fun\ding.wav").
struct FolderChange {
    bool added;
    std::string name;
};

// A sound file's path below the folder, and its text folded for a search ("" when folding leaves
// it as it is, as it does most names: a big folder's names are not kept twice).
struct SortedName {
    std::string name, folded;
};

class CSoundList {
public:
    // The key that orders a text: texts go in the byte order of their keys.
    using TextKey = std::string (*)(std::string_view text);
    // A text with letter case folded away, in any script, for a search.
    using Fold = std::string (*)(std::string_view text);
    // a and b name the same file, as the file system compares names.
    using Same = bool (*)(std::string_view a, std::string_view b);

    CSoundList(TextKey textKey, Fold fold, Same same) : m_textKey(textKey), m_fold(fold), m_same(same) {}

    // The names of a listing, in any order, made entries in the list's order: the top folder's
    // files first, then each subfolder's, by the subfolder's name. The work of a big folder, done
    // beside the window's thread.
    static std::vector<SortedName> Sort(std::vector<std::string> names, TextKey textKey,
                                        Fold fold);

    void Assign(std::vector<SortedName> sorted);
    // Applies one change: the index in what the list shows where an entry was put or taken away;
    // -1 when what it shows did not change.
    int Apply(const FolderChange& change);
    // Shows only the names that contain the text, letter case aside; all for "".
    void Filter(std::string_view text);
    bool IsFiltered() const { return !m_strFilter.empty(); }
    // What the list shows, in its order.
    std::vector<std::string> Shown() const;
    // The index among what the list shows of the entry that names this file; -1 for none.
    int IndexOf(std::string_view name) const;
    // The name at an index of what the list shows; nullopt when it names no entry.
    std::optional<std::string> At(int index) const;
    std::size_t ShownCount() const;
    // The folder or a subfolder has the file, shown or not.
    bool Contains(std::string_view name) const;
    // How many files of the folder and its subfolders have this name, whatever their subfolder.
    std::size_t CountNamed(std::string_view fileName) const;
    std::size_t Size() const { return m_entries.size(); }

private:
    bool Shows(const SortedName& entry) const;
    int ShownBefore(std::size_t entry) const;

    TextKey m_textKey;
    Fold m_fold;
    Same m_same;
    std::vector<SortedName> m_entries;
    std::string m_strFilter; // folded
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
