#include "color.h"

#include <array>

namespace {

constexpr quint32 kSystemColorFlag = 0x80000000u;

// Each system colour index with the palette role that carries it (as Qt's own Windows theme
// fills its palette) and its classic default, 0xRRGGBB, for the indices without a role.
struct SystemColor {
    std::optional<QPalette::ColorRole> role;
    QPalette::ColorGroup group;
    QRgb classic;
};

constexpr std::array<SystemColor, 31> kSystemColors{{
    {{}, QPalette::Active, 0xC8C8C8},                        // 0 scroll bar
    {{}, QPalette::Active, 0x000000},                        // 1 desktop
    {{}, QPalette::Active, 0x99B4D1},                        // 2 active caption
    {{}, QPalette::Active, 0xBFCDDB},                        // 3 inactive caption
    {QPalette::Window, QPalette::Active, 0xF0F0F0},          // 4 menu
    {QPalette::Base, QPalette::Active, 0xFFFFFF},            // 5 window
    {{}, QPalette::Active, 0x646464},                        // 6 window frame
    {QPalette::WindowText, QPalette::Active, 0x000000},      // 7 menu text
    {QPalette::Text, QPalette::Active, 0x000000},            // 8 window text
    {{}, QPalette::Active, 0x000000},                        // 9 caption text
    {{}, QPalette::Active, 0xB4B4B4},                        // 10 active border
    {{}, QPalette::Active, 0xF4F7FC},                        // 11 inactive border
    {{}, QPalette::Active, 0xABABAB},                        // 12 application workspace
    {QPalette::Highlight, QPalette::Active, 0x0078D7},       // 13 highlight
    {QPalette::HighlightedText, QPalette::Active, 0xFFFFFF}, // 14 highlighted text
    {QPalette::Button, QPalette::Active, 0xF0F0F0},          // 15 button face
    {QPalette::Dark, QPalette::Active, 0xA0A0A0},            // 16 button shadow
    {QPalette::Text, QPalette::Disabled, 0x6D6D6D},          // 17 grey text
    {QPalette::ButtonText, QPalette::Active, 0x000000},      // 18 button text
    {{}, QPalette::Active, 0x000000},                        // 19 inactive caption text
    {QPalette::Light, QPalette::Active, 0xFFFFFF},           // 20 button highlight
    {QPalette::Shadow, QPalette::Active, 0x696969},          // 21 3D dark shadow
    {QPalette::Midlight, QPalette::Active, 0xE3E3E3},        // 22 3D light
    {QPalette::ToolTipText, QPalette::Active, 0x000000},     // 23 tooltip text
    {QPalette::ToolTipBase, QPalette::Active, 0xFFFFE1},     // 24 tooltip background
    {{}, QPalette::Active, 0xB5B5B5},                        // 25 (unused)
    {QPalette::Link, QPalette::Active, 0x0066CC},            // 26 hot-tracked item
    {{}, QPalette::Active, 0xB9D1EA},                        // 27 active caption gradient
    {{}, QPalette::Active, 0xD7E4F2},                        // 28 inactive caption gradient
    {QPalette::Highlight, QPalette::Active, 0x3399FF},       // 29 menu highlight
    {QPalette::Window, QPalette::Active, 0xF0F0F0},          // 30 menu bar
}};

} // namespace

QColor toQColor(std::optional<qint32> value, const QPalette& palette)
{
    if (!value)
        return Qt::black;
    const auto bits = static_cast<quint32>(*value);
    if (!(bits & kSystemColorFlag))
        return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
    const quint32 index = bits & ~kSystemColorFlag;
    if (index >= kSystemColors.size())
        return Qt::black;
    const SystemColor& system = kSystemColors[index];
    return system.role ? palette.color(system.group, *system.role) : QColor(system.classic);
}

qint32 toColorValue(const QColor& color)
{
    return qint32(color.red() | (color.green() << 8) | (color.blue() << 16));
}
