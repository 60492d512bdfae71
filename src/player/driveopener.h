#pragma once

#include "playerdevices.h"

#include <QFuture>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

class TaskQueue;

// Lists the drives and opens their discs, off the user interface's thread. Each drive letter has
// a thread of its own for its opens and for closing its discs, and the listing one more: a drive
// that hangs holds up only itself, however often it is asked for, and one hung open holds at most
// one more of the same drive waiting behind it.
//
// Opens are numbered by the caller. Once a newer one is asked for, an older one that has not
// started yet is skipped, and one that is waiting behind a hung open of its drive gives way to
// the newer one of that drive.
class DriveOpener {
public:
    DriveOpener(QString programFolder, PlayerDevices devices);
    ~DriveOpener();
    DriveOpener(const DriveOpener&) = delete;
    DriveOpener& operator=(const DriveOpener&) = delete;

    // The drive letters as the last open or listing found them, without waiting for any drive.
    DriveTable drives() const;
    // Lists the drives afresh; the future is ready when they are listed. Nothing when a listing
    // is still waiting for its turn: it serves for this one too.
    std::optional<QFuture<bool>> list();
    // Opens the disc in `drive` ("D:"; empty for the lowest CD-ROM drive) as open number
    // `request`, the newest there is. The future brings no disc for an open that was skipped,
    // found no disc, or gave way to a newer one.
    QFuture<std::shared_ptr<Disc>> open(const QString& drive, std::uint64_t request);
    // Opens numbered before `request` are no longer wanted.
    void supersede(std::uint64_t request);

private:
    struct State;
    struct Line;
    std::shared_ptr<Line> lineOf(const QString& drive);

    const QString programFolder_;
    const PlayerDevices devices_;
    const std::shared_ptr<State> state_;
    const std::shared_ptr<TaskQueue> listing_;
    std::map<QString, std::shared_ptr<Line>> lines_; // by drive letter, upper case
};
