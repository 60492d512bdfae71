#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString programFolder(const QString& executableFolder, const QString& userConfigFolder)
{
    const QDir folder(executableFolder);
    if (QFileInfo::exists(folder.filePath(QStringLiteral("cv.ini"))) ||
        QFileInfo(folder.filePath(QStringLiteral("drives"))).isDir())
        return executableFolder;
    return userConfigFolder;
}

QString programFolder()
{
    return programFolder(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             QStringLiteral("/corvanta"));
}
