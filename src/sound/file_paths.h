// Names and paths of the sound folder as Windows resolves and compares them.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// The full path of a file or folder, a relative one counting from the current folder.
std::string FullPath(const std::string& path);

// Whether a and b name the same file: compared ordinally, letter case as the file system takes
// it, with nothing linguistic that would make look-alikes equal.
bool SameName(std::string_view a, std::string_view b);

// The key of a text in the main list's order: as the system's sorted lists order names (letter
// case ignored, in word order).
std::string TextSortKey(std::string_view text);

// The text in lower case, in any script, for a search that ignores letter case.
std::string FoldedText(std::string_view text);

// The path that names exactly the file of the folder, taken by Windows as it is.
std::wstring ExactPathOf(const std::string& folder, const std::string& name);

// The folder to name in a /sound line for a file of wavDir, or nullopt for its bare name: the
// client finds a bare name in its sounds folder and below it, and nowhere else. With no client
// folder (the client cannot be asked), the bare name, as always; "" means the client did not say.
std::optional<std::string> FolderForClient(const std::string& wavDir,
                                           const std::optional<std::string>& clientFolder);
