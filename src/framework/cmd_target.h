// Command tables: each class lists its commands as {id, notification, handler} rows, looked up
// when a WM_COMMAND arrives — the whole wiring of a window on one screen.
#pragma once
#include <windows.h>

#include <cstddef>

namespace fw {

class CCmdTarget;
using CommandHandler = void (CCmdTarget::*)();
using RangeHandler = void (CCmdTarget::*)(UINT id);

struct CommandEntry {
    UINT firstId;
    UINT lastId;
    UINT code;
    CommandHandler handler;    // a row for one id
    RangeHandler rangeHandler; // a row for the ids firstId to lastId: told which one
};

struct CommandMap {
    const CommandEntry* first;
    const CommandEntry* last;
};

template <std::size_t N> constexpr CommandMap MakeCommandMap(const CommandEntry (&entries)[N]) {
    return {entries, entries + N};
}

// A row for the notification `code` (EN_CHANGE, LBN_DBLCLK, …) from the control `id`.
template <class T> constexpr CommandEntry OnCommandCode(UINT id, UINT code, void (T::*handler)()) {
    return {id, id, code, static_cast<CommandHandler>(handler), nullptr};
}

// A row for a menu command, accelerator or button click (notification code 0).
template <class T> constexpr CommandEntry OnCommand(UINT id, void (T::*handler)()) {
    return OnCommandCode(id, 0, handler);
}

// A row for clicks on any of the controls firstId to lastId, such as a group of radio buttons.
template <class T>
constexpr CommandEntry OnCommandRange(UINT firstId, UINT lastId, void (T::*handler)(UINT)) {
    return {firstId, lastId, 0, nullptr, static_cast<RangeHandler>(handler)};
}

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Called for each command: runs the handler that the command table lists for it; false when
    // there is none. An override calls the base, then looks further.
    virtual bool OnCmdMsg(UINT id, UINT code);

protected:
    // The most derived class's table, which OnCmdMsg searches; framework classes keep theirs
    // apart and chain to it, so an override need not call the base.
    virtual CommandMap GetCommandMap() const { return {nullptr, nullptr}; }
    bool Dispatch(CommandMap map, UINT id, UINT code);
};

} // namespace fw
