// Command tables: each class lists its commands as {id, notification, handler} rows, looked up
// when a WM_COMMAND arrives — the whole wiring of a window on one screen.
#pragma once
#include <windows.h>

#include <cstddef>

namespace fw {

class CCmdTarget;
using CommandHandler = void (CCmdTarget::*)();

struct CommandEntry {
    UINT id;
    UINT code;
    CommandHandler handler;
};

struct CommandMap {
    const CommandEntry* first;
    const CommandEntry* last;
};

template <std::size_t N> constexpr CommandMap MakeCommandMap(const CommandEntry (&entries)[N]) {
    return {entries, entries + N};
}

// A row for a notification `code` from control or command `id`.
template <class T> constexpr CommandEntry OnNotify(UINT id, UINT code, void (T::*handler)()) {
    return {id, code, static_cast<CommandHandler>(handler)};
}

// A row for a menu command, accelerator or button click (notification code 0).
template <class T> constexpr CommandEntry OnCommand(UINT id, void (T::*handler)()) {
    return OnNotify(id, 0, handler);
}

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the handler that the command table lists for this command; false when there is none.
    virtual bool OnCmdMsg(UINT id, UINT code);

protected:
    // The most derived class's table; framework classes keep theirs apart and chain to it.
    virtual CommandMap GetCommandMap() const { return {nullptr, nullptr}; }
    bool Dispatch(CommandMap map, UINT id, UINT code);
};

} // namespace fw
