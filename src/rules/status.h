// The main window's status line: at a glance, the state that explains its list and its buttons.
#pragma once
#include "rules/commands.h"

#include <cstddef>
#include <optional>
#include <string>

// The sound folder as the list shows it.
struct FolderState {
    enum class EState { Listing, Listed, Unlistable };
    EState state = EState::Listing;
    std::size_t sounds = 0;
    std::string folder;
    std::optional<std::size_t> shown; // while a search narrows the list: how many it shows
};

// The chosen client as Brisa last found it.
struct ClientState {
    std::string chosen; // the class of the client the settings choose; "" for none
    bool running = false;
    std::string otherRunning;    // the class of another client Brisa drives that runs, or ""
    std::string version; // what the client's interface has told, "" before it has
};

Notice FolderStatus(const FolderState& folder);
Notice ClientStatus(const ClientState& client);
