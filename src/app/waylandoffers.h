#pragma once

#include <optional>

// What the Wayland compositor the program shows on offers beyond the core protocol, for what Qt
// does not say: whether a window can be brought to the front (xdg-activation) and whether the
// compositor draws the title bars (xdg-decoration).
struct WaylandOffers {
    bool activation = false;
    bool decorations = false;
};

// Asked once over a connection of its own, with libwayland-client loaded at run time. Nothing
// when the program is not on Wayland, or the compositor cannot be asked.
std::optional<WaylandOffers> askWaylandCompositor();
