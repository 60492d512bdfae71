// Any bytes as cv.ini: LoadSettings reads three colours without throwing, and saving what it read
// then loading again gives the same three colours.

#include "colors.h"
#include "fuzzsupport.h"
#include "settingsfile.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr qint32 kDefaultCurrentLine = 33023;
constexpr qint32 kButtonFace = qint32(0x8000000F);

Colors load(const QString& folder)
{
    Colors colors;
    try {
        LoadSettings(colors, folder);
    } catch (...) {
        fuzz::fail("LoadSettings throws");
    }
    return colors;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString read = fuzz::path(QStringLiteral("read"));
    static const QString saved = fuzz::path(QStringLiteral("saved"));
    static const bool made = QDir().mkpath(read);
    fuzz::check(made, "the folder is made");
    fuzz::writeFile(read + QStringLiteral("/cv.ini"), reinterpret_cast<const char*>(data),
                    qsizetype(size));

    const Colors colors = load(read);
    // The second and third colour always get a value; the first only from a file with a value.
    fuzz::check(colors.CurrentLineColor.has_value() && colors.BackgroundColor.has_value(),
                "the current line and background colours are set");
    fuzz::check(size > 0 || !colors.TextColor, "an empty file sets no text colour");
    if (!colors.TextColor)
        fuzz::check(*colors.CurrentLineColor == kDefaultCurrentLine &&
                        *colors.BackgroundColor == kButtonFace,
                    "a file without values gives the defaults");

    fuzz::check(SaveSettings(colors, saved), "the colours save");
    const Colors again = load(saved);
    // An unset text colour shows as black and is saved as 0.
    fuzz::check(again.TextColor == colors.TextColor.value_or(0), "the text colour comes back");
    fuzz::check(again.CurrentLineColor == colors.CurrentLineColor,
                "the current line colour comes back");
    fuzz::check(again.BackgroundColor == colors.BackgroundColor,
                "the background colour comes back");
    return 0;
}
