// Where the main window was when Brisa last closed, as the settings keep it (a section of its
// own, which earlier versions pass over), and where it goes back to.
#pragma once
#include <optional>
#include <string>

struct WindowRect {
    long left = 0, top = 0, right = 0, bottom = 0;
    long Width() const { return right - left; }
    long Height() const { return bottom - top; }
    bool operator==(const WindowRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// The window's place when not maximized, in pixels of a monitor of `dpi` dots per inch.
struct WindowPlace {
    WindowRect rect;
    bool maximized = false;
    int dpi = 96;
};

// The place on the monitor that shows the saved one (its work area, at its dpi now): the size
// follows the monitor's scale, at least `minimum`, and the window lies inside the work area.
WindowRect PlaceOnMonitor(const WindowPlace& saved, const WindowRect& work, int dpi,
                          const WindowRect& minimum);

namespace settings {

inline constexpr char kWindowSection[] = "Window";

template <class Profile> std::optional<WindowPlace> LoadPlace(const Profile& profile) {
    WindowPlace place;
    place.rect = {
        profile.GetInt(kWindowSection, "Left", 0), profile.GetInt(kWindowSection, "Top", 0),
        profile.GetInt(kWindowSection, "Right", 0), profile.GetInt(kWindowSection, "Bottom", 0)};
    place.maximized = profile.GetInt(kWindowSection, "Maximized", 0) != 0;
    place.dpi = profile.GetInt(kWindowSection, "Dpi", 96);
    if (place.rect.Width() <= 0 || place.rect.Height() <= 0 || place.dpi <= 0)
        return std::nullopt;
    return place;
}

template <class Profile> bool SavePlace(const Profile& profile, const WindowPlace& place) {
    return profile.Write(kWindowSection, {{"Left", std::to_string(place.rect.left)},
                                          {"Top", std::to_string(place.rect.top)},
                                          {"Right", std::to_string(place.rect.right)},
                                          {"Bottom", std::to_string(place.rect.bottom)},
                                          {"Maximized", place.maximized ? "1" : "0"},
                                          {"Dpi", std::to_string(place.dpi)}});
}

} // namespace settings
