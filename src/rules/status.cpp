#include "rules/status.h"

#include "resource.h"

Notice FolderStatus(const FolderState& folder) {
    switch (folder.state) {
    case FolderState::EState::Listing:
        return {IDS_STATUS_LISTING, {folder.folder}};
    case FolderState::EState::Unlistable:
        return {IDS_STATUS_UNLISTABLE, {folder.folder}};
    case FolderState::EState::Listed:
        break;
    }
    if (folder.shown)
        return {IDS_STATUS_FILTERED, {std::to_string(*folder.shown), std::to_string(folder.sounds)}};
    if (folder.sounds == 1)
        return {IDS_STATUS_ONE_SOUND, {folder.folder}};
    return {IDS_STATUS_SOUNDS, {std::to_string(folder.sounds), folder.folder}};
}

Notice ClientStatus(const ClientState& client) {
    if (client.chosen.empty())
        return {IDS_STATUS_NO_CLIENT_CHOSEN};
    if (client.running && !client.version.empty())
        return {IDS_STATUS_CLIENT_TOLD, {client.chosen, client.version}};
    if (client.running)
        return {IDS_STATUS_CLIENT_RUNS, {client.chosen}};
    if (!client.otherRunning.empty())
        return {IDS_STATUS_OTHER_CLIENT, {client.chosen, client.otherRunning}};
    return {IDS_STATUS_NO_CLIENT, {client.chosen}};
}
