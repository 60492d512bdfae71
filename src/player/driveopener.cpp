#include "driveopener.h"

#include "playerlog.h"
#include "taskqueue.h"

#include <QPromise>
#include <atomic>
#include <mutex>

using DiscPromise = QPromise<std::shared_ptr<Disc>>;

// What the tasks share with the opener, without waiting for it.
struct DriveOpener::State {
    std::atomic<std::uint64_t> latestOpen{0};
    std::atomic<bool> listing{false};

    mutable std::mutex lock;
    DriveTable table;
    QStringList opticalDrives;
    bool listed = false; // the optical drives have been looked for

    void publish(DriveTable scanned, std::optional<QStringList> optical)
    {
        const std::lock_guard guard(lock);
        table = std::move(scanned);
        if (optical) {
            opticalDrives = std::move(*optical);
            listed = true;
        }
    }
    DriveTable drives() const
    {
        const std::lock_guard guard(lock);
        return table;
    }
    // The links first, so that they are known while the optical drives are looked for, which
    // may take a drive's time.
    DriveTable scanAll(const QString& folder, const PlayerDevices& devices)
    {
        QStringList optical;
        {
            const std::lock_guard guard(lock);
            optical = opticalDrives;
        }
        publish(DriveTable::scan(folder, optical), std::nullopt);
        optical = devices.opticalDrives();
        DriveTable drives = DriveTable::scan(folder, optical);
        publish(drives, optical);
        return drives;
    }
    // A drive's own link, looked at afresh and alone, or else the optical drive that took its
    // letter when the drives were listed. Without a letter, the lowest: a link at A: to D:
    // comes before any optical drive, which take letters from D: on; otherwise every drive is
    // looked at.
    std::optional<QString> targetOf(const QString& folder, const QString& drive,
                                    const PlayerDevices& devices)
    {
        for (char letter = 'A'; drive.isEmpty() && letter <= 'D'; ++letter) {
            if (std::optional<QString> linked =
                    DriveTable::linkTarget(folder, QChar::fromLatin1(letter)))
                return linked;
        }
        if (!drive.isEmpty()) {
            if (std::optional<QString> linked = DriveTable::linkTarget(folder, drive.front()))
                return linked;
        }
        if (!opticalListed())
            scanAll(folder, devices);
        const DriveTable listed = drives();
        const std::optional<QString> target =
            drive.isEmpty() ? listed.defaultTarget() : listed.target(drive.front());
        return drive.isEmpty() || (target && isDeviceNode(*target)) ? target : std::nullopt;
    }
    bool opticalListed() const
    {
        const std::lock_guard guard(lock);
        return listed;
    }
};

// One drive's thread, and the open that waits for it: one at most, the newest.
struct DriveOpener::Line {
    const std::shared_ptr<TaskQueue> queue = std::make_shared<TaskQueue>();
    std::mutex lock;
    std::uint64_t request = 0;
    std::shared_ptr<DiscPromise> waiting;
};

DriveOpener::DriveOpener(QString programFolder, PlayerDevices devices)
    : programFolder_(std::move(programFolder)), devices_(std::move(devices)),
      state_(std::make_shared<State>()), listing_(std::make_shared<TaskQueue>())
{
}

DriveOpener::~DriveOpener() = default;

DriveTable DriveOpener::drives() const
{
    const std::lock_guard guard(state_->lock);
    return state_->table;
}

std::optional<QFuture<bool>> DriveOpener::list()
{
    if (state_->listing.exchange(true))
        return std::nullopt;
    return listing_->run([folder = programFolder_, devices = devices_, state = state_] {
        state->listing = false;
        state->scanAll(folder, devices);
        return true;
    });
}

void DriveOpener::supersede(std::uint64_t request)
{
    state_->latestOpen = request;
}

std::shared_ptr<DriveOpener::Line> DriveOpener::lineOf(const QString& drive)
{
    std::shared_ptr<Line>& line = lines_[drive.toUpper()];
    if (!line)
        line = std::make_shared<Line>();
    return line;
}

QFuture<std::shared_ptr<Disc>> DriveOpener::open(const QString& drive, std::uint64_t request)
{
    supersede(request);
    const std::shared_ptr<Line> line = lineOf(drive);
    auto promise = std::make_shared<DiscPromise>();
    promise->start();
    std::shared_ptr<DiscPromise> passed;
    {
        const std::lock_guard guard(line->lock);
        passed = std::exchange(line->waiting, promise);
        line->request = request;
    }
    if (passed) { // its task is still to run, and takes this open instead
        passed->addResult(nullptr);
        passed->finish();
        return promise->future();
    }
    line->queue->post([line, drive, folder = programFolder_, devices = devices_, state = state_] {
        std::shared_ptr<DiscPromise> taken;
        std::uint64_t request = 0;
        {
            const std::lock_guard guard(line->lock);
            taken = std::exchange(line->waiting, nullptr);
            request = line->request;
        }
        const auto stale = [&] { return request != state->latestOpen; };
        std::shared_ptr<Disc> disc;
        const std::optional<QString> target =
            stale() ? std::nullopt : state->targetOf(folder, drive, devices);
        if (!stale()) {
            QString whyNot;
            std::unique_ptr<Disc> opened = devices.openDisc(target.value_or(QString()), &whyNot);
            if (opened)
                disc.reset(opened.release(), [queue = line->queue](Disc* disc) {
                    queue->post([disc] { delete disc; });
                });
            else
                qCInfo(playerLog) << "no disc in drive" << drive << target.value_or(QString())
                                  << whyNot;
        }
        taken->addResult(std::move(disc));
        taken->finish();
    });
    return promise->future();
}
