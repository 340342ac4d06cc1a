#include "framework/cmd_target.h"

namespace fw {

bool CCmdTarget::OnCmdMsg(UINT id, UINT code) {
    return Dispatch(GetCommandMap(), id, code);
}

bool CCmdTarget::Dispatch(CommandMap map, UINT id, UINT code) {
    for (const CommandEntry* entry = map.first; entry != map.last; ++entry) {
        if (entry->id == id && entry->code == code) {
            (this->*entry->handler)();
            return true;
        }
    }
    return false;
}

} // namespace fw
