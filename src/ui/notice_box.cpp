#include "ui/notice_box.h"

#include "framework/module.h"
#include "framework/text.h"

void ShowNotice(const Notice& notice) {
    if (!notice.message)
        return;
    fw::CModule& module = fw::Module();
    module.DoMessageBox(fw::FormatText(module.LoadString(notice.message), notice.args),
                        MB_OK | (notice.information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}
