#pragma once

#include <QtGlobal>
#include <optional>

// The three colours of the lyric view. Each is a 32-bit colour value (see color.h), unset until
// the settings are loaded or chosen; an unset colour shows as black. Owned by main and shared by
// reference with the windows that use it.
struct Colors {
    std::optional<qint32> TextColor;
    std::optional<qint32> CurrentLineColor;
    std::optional<qint32> BackgroundColor;
};
