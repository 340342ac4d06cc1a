#include "framework/cmd_target.h"

namespace fw {

bool CCmdTarget::OnCmdMsg(UINT id, UINT code) {
    return Dispatch(GetCommandMap(), id, code);
}

bool CCmdTarget::Dispatch(CommandMap map, UINT id, UINT code) {
    for (const CommandEntry* entry = map.first; entry != map.last; ++entry) {
        if (id < entry->firstId || id > entry->lastId || code != entry->code)
            continue;
        if (entry->rangeHandler)
            (this->*entry->rangeHandler)(id);
        else
            (this->*entry->handler)();
        return true;
    }
    return false;
}

} // namespace fw
