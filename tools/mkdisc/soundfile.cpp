#include "soundfile.h"

#include "cdtime.h"
#include "cuesheet.h"

#include <QDir>
#include <QtEndian>

using namespace Qt::StringLiterals;

SoundFileWriter::SoundFileWriter(const QString& path, const RipFormat& format)
    : format_(format), file_(path), sector_(cdtime::kBytesPerSector, '\0'),
      samples_(std::size_t(cdtime::kFramesPerSector) * std::size_t(format.channels))
{
}

QString SoundFileWriter::suffix(const RipFormat& format)
{
    return format.container == RipFormat::Container::Flac ? u"flac"_s : u"wav"_s;
}

bool SoundFileWriter::open(const Tags& tags, QString* error)
{
    if (!file_.open(QIODevice::WriteOnly)) {
        *error = fileError(file_);
        return false;
    }
    SF_INFO info{};
    info.samplerate = format_.rate;
    info.channels = format_.channels;
    info.format =
        (format_.container == RipFormat::Container::Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV) |
        (format_.bits == 24 ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_16);
    // The descriptor stays QSaveFile's: it closes it, and renames the file on commit.
    sound_.reset(sf_open_fd(file_.handle(), SFM_WRITE, &info, SF_FALSE));
    if (!sound_)
        return soundError(error);
    for (const auto& [which, text] : {std::pair{SF_STR_TITLE, tags.title},
                                      {SF_STR_ARTIST, tags.artist},
                                      {SF_STR_ALBUM, tags.album}}) {
        if (sf_set_string(sound_.get(), which, text.toUtf8().constData()) != 0)
            return soundError(error);
    }
    return true;
}

bool SoundFileWriter::append(const SectorFill& fill, qint64 sectors, QString* error)
{
    const int channels = format_.channels;
    for (qint64 sector = 0; sector < sectors; ++sector) {
        fill(sector, sector_.data());
        // libsndfile keeps the top bits of an int sample, the top 16 for a 16-bit file and the
        // top 24 for a 24-bit one, so a 16-bit sample moved to the top lands there exactly.
        for (int i = 0; i < cdtime::kFramesPerSector; ++i) {
            const char* frame = sector_.constData() + i * cdtime::kBytesPerFrame;
            for (int c = 0; c < channels; ++c)
                samples_[std::size_t(i * channels + c)] =
                    int(qFromLittleEndian<qint16>(frame + 2 * c)) * 65536;
        }
        if (sf_writef_int(sound_.get(), samples_.data(), cdtime::kFramesPerSector) !=
            cdtime::kFramesPerSector)
            return soundError(error);
    }
    return true;
}

bool SoundFileWriter::commit(QString* error)
{
    // Closing writes the header's lengths; only then is the file complete.
    if (sf_close(sound_.release()) != 0) {
        *error = u"%1: cannot finish the file"_s.arg(QDir::toNativeSeparators(file_.fileName()));
        return false;
    }
    if (!file_.commit()) {
        *error = fileError(file_);
        return false;
    }
    return true;
}

bool SoundFileWriter::soundError(QString* error) const
{
    *error = u"%1: %2"_s.arg(QDir::toNativeSeparators(file_.fileName()),
                             QString::fromUtf8(sf_strerror(sound_.get())));
    return false;
}
