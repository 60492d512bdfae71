#include "albumopener.h"

#include "albumlink.h"
#include "drivetable.h"
#include "playerlog.h"
#include "taskqueue.h"

namespace {

constexpr int kAlbumsAtOnce = 4;

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
    if (underway_->fetch_add(1) >= kAlbumsAtOnce) {
        --*underway_;
        qCWarning(playerLog).noquote()
            << "not opened:" << path << "(earlier albums are still opening)";
        return;
    }
    const std::uint64_t request = ++request_;
    const QFuture<Linked> answer =
        TaskQueue().run([folder = programFolder_, path, drives, underway = underway_] {
            Linked linked;
            linked.letter = linkAlbum(folder, path, drives, &linked.whyNot);
            --*underway;
            return linked;
        });
    whenReady(answer, this, [this, path, request](const Linked& linked) {
        if (!linked.letter)
            qCWarning(playerLog).noquote() << "not opened:" << path << linked.whyNot;
        else if (request == request_)
            emit this->linked(QStringLiteral("%1:").arg(*linked.letter));
    });
}
