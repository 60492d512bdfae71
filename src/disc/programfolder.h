#pragma once

#include <QString>

// The folder that holds the settings file and the drive letters: the executable's own folder
// when it has cv.ini or drives/ (a portable install, the build tree), otherwise the per-user
// configuration folder.
QString programFolder(const QString& executableFolder, const QString& userConfigFolder);

// The same for this process: its executable's folder, or ~/.config/corvanta.
QString programFolder();
