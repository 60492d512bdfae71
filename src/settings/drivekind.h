#pragma once

#include <QString>

class DriveTable;

// The kind of a drive as Windows reports it: 5 for a CD-ROM drive (a letter mapped to an optical
// drive or a disc image), 1 for a letter with nothing behind it.
int GetDriveKind(const DriveTable& drives, const QString& letter);
