// What the program asks of the Windows shell: its folder dialog, its file manager, its Recycle
// Bin and files dropped from it. The shell's DLLs are loaded at the first call, not at start-up.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fw {

// The platform's folder dialog, starting at `initial`; the folder chosen, or nullopt.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& initial,
                                           const std::string& title);
// Opens the folder in the file manager; false when it cannot.
bool OpenInFileManager(const std::string& folder);
// Whether the drive of the path has a Recycle Bin.
bool HasRecycleBin(const std::string& path);
// Moves the file to the Recycle Bin, silently; false when it could not.
bool MoveToRecycleBin(const std::string& path);
// The files dropped, whose drop is then done with.
std::vector<std::string> TakeDroppedFiles(HANDLE drop);

} // namespace fw
