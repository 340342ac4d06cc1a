#include "rules/placement.h"

#include <algorithm>

WindowRect PlaceOnMonitor(const WindowPlace& saved, const WindowRect& work, int dpi,
                          const WindowRect& minimum) {
    const auto scaled = [&](long size, long least, long most) {
        return std::min(std::max(size * dpi / saved.dpi, least), most);
    };
    const long width = scaled(saved.rect.Width(), minimum.Width(), work.Width());
    const long height = scaled(saved.rect.Height(), minimum.Height(), work.Height());
    const long left = std::clamp(saved.rect.left, work.left, work.right - width);
    const long top = std::clamp(saved.rect.top, work.top, work.bottom - height);
    return {left, top, left + width, top + height};
}
