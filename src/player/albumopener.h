#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>

class DriveTable;

// Makes the albums the user opens drives, off the user interface's thread: each album is opened
// and linked on a thread of its own, since its file system may take any time to answer. Only the
// newest album asked for becomes the drive in use; what cannot be opened is refused in the log.
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
    // Albums still being opened: a storm of them on a mount that hangs takes a few threads, not
    // one each.
    const std::shared_ptr<std::atomic<int>> underway_ = std::make_shared<std::atomic<int>>(0);
};
