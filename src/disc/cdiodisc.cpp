#include "cdiodisc.h"

#include "cdtime.h"
#include "drivetable.h"
#include "imagecheck.h"
#include "libcdio.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// The table of contents as libcdio reports it, or nothing when it makes no sense: an image whose
// data file is shorter than its cue sheet claims, or a device that answers with nothing.
std::vector<Track> readTracks(CdIo_t* handle)
{
    const track_t first = cdio_get_first_track_num(handle);
    const track_t count = cdio_get_num_tracks(handle);
    const lsn_t leadOut = cdio_get_track_lsn(handle, CDIO_CDROM_LEADOUT_TRACK);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 ||
        first + count - 1 > CDIO_CD_MAX_TRACKS || leadOut == CDIO_INVALID_LSN)
        return {};

    std::vector<Track> tracks;
    lsn_t previousStart = 0;
    for (int number = first; number < first + count; ++number) {
        const lsn_t start = cdio_get_track_lsn(handle, static_cast<track_t>(number));
        const lsn_t end = number + 1 < first + count
                              ? cdio_get_track_lsn(handle, static_cast<track_t>(number + 1))
                              : leadOut;
        // Each track runs to the next one's start, so a track that starts before the one before
        // it (a cue sheet can say so) would overlap it.
        if (start == CDIO_INVALID_LSN || start < 0 || start < previousStart)
            return {};
        previousStart = start;
        // A track that the image's data does not reach is cut short rather than refused, so the
        // rest of the disc still plays.
        const int sectors = std::max(0, std::min(end, leadOut) - start);
        const bool audio =
            cdio_get_track_format(handle, static_cast<track_t>(number)) == TRACK_FORMAT_AUDIO;
        tracks.push_back({number, start, sectors, audio});
    }
    return tracks;
}

// The disc's CD-TEXT, which libcdio hands over in UTF-8, under 0 for the disc itself.
std::map<int, DiscText> readText(CdIo_t* handle, const std::vector<Track>& tracks)
{
    std::map<int, DiscText> text;
    const cdtext_t* cdtext = cdio_get_cdtext(handle);
    if (!cdtext)
        return text;
    const auto field = [cdtext](cdtext_field_t field, int track) {
        return QString::fromUtf8(cdtext_get_const(cdtext, field, static_cast<track_t>(track)));
    };
    text[0] = {field(CDTEXT_FIELD_TITLE, 0), field(CDTEXT_FIELD_PERFORMER, 0)};
    for (const Track& track : tracks)
        text[track.number] = {field(CDTEXT_FIELD_TITLE, track.number),
                              field(CDTEXT_FIELD_PERFORMER, track.number)};
    return text;
}

} // namespace

CdioDisc::CdioDisc(Handle handle, bool isDrive, std::vector<Track> tracks,
                   std::map<int, DiscText> text)
    : Disc(std::move(tracks), std::move(text)), isDrive_(isDrive), handle_(std::move(handle))
{
}

std::unique_ptr<Disc> CdioDisc::open(const QString& path, QString* whyNot)
{
    const auto refuseBefore = [whyNot](const char* reason) {
        if (whyNot)
            *whyNot = QString::fromUtf8(reason);
        return nullptr;
    };
    // What may hang (a drive spinning up, a file on a mount that hangs) is looked at before
    // libcdio's turn is taken: a drive that hangs holds up only itself.
    const bool isDrive = isDeviceNode(path);
    if (path.isEmpty())
        return refuseBefore("ドライブがありません");
    if (!QFileInfo::exists(path))
        return refuseBefore("ありません");
    // libcdio would open a pipe to look for an NRG footer, and wait there for a writer.
    if (!isDrive && !QFileInfo(path).isFile())
        return refuseBefore("普通のファイルではありません");
    const QByteArray name = QFile::encodeName(path);
    if (!isNrgImageSafeForLibcdio(name))
        return refuseBefore("NRG イメージが壊れているか、CD-TEXT を含んでいます");
    // A drive takes no turn: its open may hang; an image file's parse does.
    const LibcdioCall call(isDrive ? LibcdioCall::Turns::NotTaken : LibcdioCall::Turns::Taken);
    // The reason, and what libcdio said of it, if anything.
    const auto refuse = [whyNot, &call](const char* reason) {
        if (whyNot)
            *whyNot = QString::fromUtf8(reason) + (call.lastMessage().isEmpty()
                                                       ? QString()
                                                       : QStringLiteral(": ") + call.lastMessage());
        return nullptr;
    };
    Handle handle(cdio_open(name.constData(), isDrive ? DRIVER_DEVICE : DRIVER_UNKNOWN));
    if (!handle)
        return refuse("開けません");
    // An empty drive opens too; only a readable disc mode means a disc is in it.
    const discmode_t mode = cdio_get_discmode(handle.get());
    if (mode == CDIO_DISC_MODE_NO_INFO || mode == CDIO_DISC_MODE_ERROR)
        return refuse("ディスクが入っていません");
    std::vector<Track> tracks = readTracks(handle.get());
    if (tracks.empty())
        return refuse("目次を読めません");
    std::map<int, DiscText> text = readText(handle.get(), tracks);
    return std::unique_ptr<Disc>(
        new CdioDisc(std::move(handle), isDrive, std::move(tracks), std::move(text)));
}

CdioDisc::~CdioDisc()
{
    const LibcdioCall call(isDrive_ ? LibcdioCall::Turns::NotTaken : LibcdioCall::Turns::Taken);
    handle_.reset();
}

bool CdioDisc::readAudio(int firstSector, int count, std::byte* out)
{
    // An image that ends part way through the read still reports success and leaves the rest
    // of `out` as it was; what was never read must play as silence, not as older audio.
    std::fill_n(out, std::size_t(count) * cdtime::kBytesPerSector, std::byte{0});
    const std::lock_guard lock(readLock_);
    return cdio_read_audio_sectors(handle_.get(), out, firstSector, static_cast<unsigned>(count)) ==
           DRIVER_OP_SUCCESS;
}
