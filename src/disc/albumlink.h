#pragma once

#include <QChar>
#include <QString>
#include <optional>

class DriveTable;

// Makes a disc image or a rip a drive: the letter whose link in the program folder names it
// already, or else a new link under the first free letter from D: on. A letter is free when no
// entry of `drives/` has it, not even a link that points nowhere, and no optical drive of
// `drives` took it. The album is opened first: what does not open as a disc is refused with the
// reason, and no link is made. Waits as long as the album's file system, and looks at no other
// link's target, so a link to a mount that hangs holds up nothing here.
std::optional<QChar> linkAlbum(const QString& programFolder, const QString& path,
                               const DriveTable& drives, QString* whyNot);
