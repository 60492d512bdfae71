#include "drivetable.h"

#include "libcdio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cdio/cdio.h>
#include <sys/stat.h>

bool isDeviceNode(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 &&
           (S_ISBLK(status.st_mode) || S_ISCHR(status.st_mode));
}

// A disc image (a raw .bin standing for the sheet beside it), or a folder of a ripped album.
bool isDriveTarget(const QString& path)
{
    static const QStringList suffixes{QStringLiteral("cue"), QStringLiteral("bin"),
                                      QStringLiteral("toc"), QStringLiteral("nrg")};
    const QFileInfo file(path);
    return file.isDir() || isDeviceNode(path) ||
           (file.isFile() && suffixes.contains(file.suffix(), Qt::CaseInsensitive));
}

QStringList DriveTable::systemOpticalDrives()
{
    QStringList drives;
    // Looking at the system's drives parses no image: it takes no turn, as a drive may hang.
    const LibcdioCall call(LibcdioCall::Turns::NotTaken);
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return drives;
    for (char** device = devices; *device; ++device)
        drives << QFileInfo(QFile::decodeName(*device)).canonicalFilePath();
    cdio_free_device_list(devices);
    drives.removeAll(QString());
    return drives;
}

DriveTable DriveTable::scan(const QString& programFolder, const QStringList& opticalDrives)
{
    DriveTable table;
    const QDir folder(programFolder + QStringLiteral("/drives"));
    static const QRegularExpression entryName(QStringLiteral("^[a-z]:$"));
    for (const QFileInfo& entry : folder.entryInfoList(QDir::AllEntries | QDir::System)) {
        if (!entryName.match(entry.fileName()).hasMatch())
            continue;
        if (const std::optional<QString> target = linkTarget(programFolder, entry.fileName()[0]))
            table.targets_[entry.fileName().at(0).toUpper()] = *target;
    }

    char letter = 'D';
    for (const QString& drive : opticalDrives) {
        const bool named =
            std::any_of(table.targets_.begin(), table.targets_.end(),
                        [&drive](const auto& entry) { return entry.second == drive; });
        if (named)
            continue;
        while (letter <= 'Z' && table.targets_.count(QChar::fromLatin1(letter)))
            ++letter;
        if (letter > 'Z')
            break;
        table.targets_[QChar::fromLatin1(letter)] = drive;
    }
    return table;
}

std::optional<QString> DriveTable::linkTarget(const QString& programFolder, QChar letter)
{
    const QFileInfo entry(programFolder + QStringLiteral("/drives/%1:").arg(letter.toLower()));
    const QString target = entry.canonicalFilePath(); // empty when the link points nowhere
    if (!target.isEmpty() && isDriveTarget(target))
        return target;
    return std::nullopt;
}

QList<QChar> DriveTable::letters() const
{
    QList<QChar> letters;
    for (const auto& [letter, target] : targets_)
        letters << letter;
    return letters;
}

std::optional<QString> DriveTable::target(QChar letter) const
{
    const auto found = targets_.find(letter.toUpper());
    if (found == targets_.end())
        return std::nullopt;
    return found->second;
}

std::optional<QString> DriveTable::defaultTarget() const
{
    if (targets_.empty())
        return std::nullopt;
    return targets_.begin()->second;
}
