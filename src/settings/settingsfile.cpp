#include "settingsfile.h"

#include "colors.h"
#include "settingslog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

constexpr qint32 kDefaultText = 0;
constexpr qint32 kDefaultCurrentLine = 33023;             // &H0080FF, orange
constexpr qint32 kDefaultBackground = qint32(0x8000000F); // the button face
// Three numbers never need more; a larger file is read no further.
constexpr qint64 kMostBytesRead = 64 * 1024;

QString settingsPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("cv.ini"));
}

// The values of the file in order: each line, and within a line each comma, ends one. A line end
// at the very end of the file starts no further value.
QStringList valuesOf(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QStringList values;
    for (const QString& line : lines)
        values += line.split(u',');
    return values;
}

qint32 colorValue(const QString& text, qint32 fallback)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    const QString value = text.trimmed();
    bool ok = false;
    const qint32 number = value.toInt(&ok);
    return ok && decimal.match(value).hasMatch() ? number : fallback;
}

QByteArray lineOf(std::optional<qint32> color)
{
    const qint32 value = color.value_or(0);
    return (value < 0 ? "" : " ") + QByteArray::number(value) + " \r\n";
}

} // namespace

void LoadSettings(Colors& colors, const QString& programFolder)
{
    QFile file(settingsPath(programFolder));
    const QStringList values = file.open(QIODevice::ReadOnly)
                                   ? valuesOf(QString::fromLatin1(file.read(kMostBytesRead)))
                                   : QStringList();
    if (!values.isEmpty())
        colors.TextColor = colorValue(values[0], kDefaultText);
    if (values.size() < 3) {
        colors.CurrentLineColor = kDefaultCurrentLine;
        colors.BackgroundColor = kDefaultBackground;
        return;
    }
    colors.CurrentLineColor = colorValue(values[1], kDefaultCurrentLine);
    colors.BackgroundColor = colorValue(values[2], kDefaultBackground);
}

bool SaveSettings(const Colors& colors, const QString& programFolder)
{
    QSaveFile file(settingsPath(programFolder));
    if (QDir().mkpath(programFolder) && file.open(QIODevice::WriteOnly)) {
        file.write(lineOf(colors.TextColor) + lineOf(colors.CurrentLineColor) +
                   lineOf(colors.BackgroundColor));
        if (file.commit())
            return true;
    }
    qCInfo(settingsLog) << "the settings are not saved in" << file.fileName() << file.errorString();
    return false;
}
