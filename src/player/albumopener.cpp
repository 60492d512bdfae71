#include "albumopener.h"

#include "albumlink.h"
#include "drivetable.h"
#include "playerlog.h"
#include "taskqueue.h"

namespace {

// Albums being opened at once; more are refused, so that albums on mounts that hang cannot
// take a thread each without end.
constexpr std::size_t kAlbumsAtOnce = 16;

struct Linked {
    std::optional<QChar> letter;
    QString whyNot;
};

} // namespace

AlbumOpener::AlbumOpener(QString programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder))
{
}

void AlbumOpener::open(const QString& path, const DriveTable& drives)
{
    const std::uint64_t request = ++request_;
    if (const auto asked = underway_.find(path); asked != underway_.end()) {
        asked->second = request;
        return;
    }
    if (underway_.size() >= kAlbumsAtOnce) {
        qCWarning(playerLog).noquote()
            << "not opened:" << path << "(too many albums are still being opened)";
        return;
    }
    underway_[path] = request;
    const QFuture<Linked> answer = TaskQueue().run([folder = programFolder_, path, drives] {
        Linked linked;
        linked.letter = linkAlbum(folder, path, drives, &linked.whyNot);
        return linked;
    });
    whenReady(answer, this, [this, path](const Linked& linked) {
        const auto asked = underway_.extract(path);
        if (!linked.letter)
            qCWarning(playerLog).noquote() << "not opened:" << path << linked.whyNot;
        else if (asked.mapped() == request_)
            emit this->linked(QStringLiteral("%1:").arg(*linked.letter));
    });
}
