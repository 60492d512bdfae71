#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <map>

class DriveTable;

// Makes the albums the user opens drives, off the user interface's thread: each album is opened
// and linked on a thread of its own, since its file system may take any time to answer. Only the
// album asked for last becomes the drive in use; what cannot be opened is refused in the log.
// An album asked for again while it is still being opened takes no further thread, so a mount
// that hangs holds up only the albums on it, however often they are asked for.
class AlbumOpener : public QObject {
    Q_OBJECT

public:
    explicit AlbumOpener(QString programFolder, QObject* parent = nullptr);

    // `drives` as the player knows them, for the letters its optical drives took.
    void open(const QString& path, const DriveTable& drives);

signals:
    // The drive ("E:") that names the album asked for last.
    void linked(const QString& drive);

private:
    const QString programFolder_;
    std::uint64_t request_ = 0;
    std::map<QString, std::uint64_t> underway_; // album → the last request for it
};
