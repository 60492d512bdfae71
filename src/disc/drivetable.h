#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// Drive letters on a system that has none, kept the way Wine keeps them: the folder `drives/` in
// the program's folder holds entries named by a lower-case letter and a colon (`d:`), each a
// symbolic link to an optical drive's device node, a disc image (.cue, .bin, .toc, .nrg) or a rip.
// Optical drives that no entry names take the free letters from D: upwards, in the order libcdio
// lists them. The table is a snapshot: scan again to see changed links or drives.
class DriveTable {
public:
    static DriveTable scan(const QString& programFolder, const QStringList& opticalDrives);
    // What the program folder's link for a letter points at, when it is a drive or an image;
    // looks at no other link, so a link to a mount that hangs holds up only its own letter.
    static std::optional<QString> linkTarget(const QString& programFolder, QChar letter);
    // The optical drives libcdio finds on this system, as resolved device paths.
    static QStringList systemOpticalDrives();

    // The letters mapped to a drive or an image, ascending, in upper case.
    QList<QChar> letters() const;
    // The device node or image behind a letter (either case), with links resolved.
    std::optional<QString> target(QChar letter) const;
    // The target of the lowest mapped letter: the player's device when none is named.
    std::optional<QString> defaultTarget() const;

private:
    std::map<QChar, QString> targets_; // upper-case letter → resolved path
};

// A block or character device: a drive, as against an image file.
bool isDeviceNode(const QString& path);
// What a drive letter may name: a drive, a disc image (.cue, .bin, .toc, .nrg) or a folder.
bool isDriveTarget(const QString& path);
