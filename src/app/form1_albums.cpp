// The main window's side of albums opened from outside: from the command line, the file
// manager, a drop or the media controls.

#include "albumopener.h"
#include "form1.h"
#include "mmcontrol.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {

// The first local file or folder dropped, if any.
QString droppedPath(const QMimeData* data)
{
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

void Form1::openAlbum(const QString& path)
{
    albums_->open(path, MMControl1->drives());
}

// As 「設定」's OK opens a drive, and then the track list filled as at start-up.
void Form1::openDrive(const QString& drive)
{
    MMControl1->setCommand(QStringLiteral("Close"));
    MMControl1->setDeviceElement(drive);
    connect(MMControl1, &MMControl::openAnswered, this, &Form1::chooseFirstTrack,
            Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
    MMControl1->setCommand(QStringLiteral("Open"));
    MMControl1->setTimeFormat(0);
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openAlbum(path);
}
