#include "cuesheet.h"

#include "cdtime.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

QString cueTime(qint64 sector)
{
    const qint64 frames = sector % cdtime::kSectorsPerSecond;
    const qint64 seconds = sector / cdtime::kSectorsPerSecond;
    return u"%1:%2:%3"_s.arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(frames, 2, 10, QLatin1Char('0'));
}

QString fileError(const QFileDevice& file)
{
    return u"%1: %2"_s.arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
}

bool makeFolder(const QString& path, QString* error)
{
    if (QDir().mkpath(path))
        return true;
    *error = u"%1: cannot create folder"_s.arg(QDir::toNativeSeparators(path));
    return false;
}

bool writeCueSheet(const QString& path, const QByteArray& text, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = fileError(file);
        return false;
    }
    return true;
}
