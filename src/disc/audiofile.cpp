#include "audiofile.h"

#include "cdtime.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// A CD holds no more: a header that claims more is no length at all (libsndfile gives the
// largest count for a file written to a pipe, whose header never got its length).
constexpr qint64 kMostFrames = qint64(100) * 60 * cdtime::kSampleRate;

} // namespace

AudioFile::AudioFile(const SndfileApi& sndfile, Handle file, const SF_INFO& info)
    : DiscFile(info.frames), sndfile_(sndfile), file_(std::move(file)), channels_(info.channels),
      isFloat_((info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT ||
               (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE)
{
}

std::unique_ptr<AudioFile> AudioFile::open(const QString& path, QString& whyNot)
{
    whyNot.clear();
    if (!QFileInfo(path).isFile()) {
        whyNot = QFileInfo::exists(path) ? u"普通のファイルではありません"_s : u"ありません"_s;
        return nullptr;
    }
    const SndfileApi* sndfile = SndfileApi::get(whyNot);
    if (!sndfile)
        return nullptr;
    SF_INFO info{};
    Handle file(sndfile->open(QFile::encodeName(path).constData(), SFM_READ, &info), {sndfile});
    if (!file)
        return nullptr;
    if ((info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS)
        whyNot = u"Opus は 48 kHz でしか読めません。CD の 44.1 kHz ではありません"_s;
    else if (info.samplerate != cdtime::kSampleRate)
        whyNot = u"CD の 44.1 kHz ではありません (%1 Hz)"_s.arg(info.samplerate);
    else if (info.channels != 1 && info.channels != 2)
        whyNot = u"ステレオでもモノラルでもありません (%1 チャンネル)"_s.arg(info.channels);
    else if (info.frames <= 0)
        whyNot = u"音がありません"_s;
    else if (info.frames > kMostFrames)
        whyNot = u"長さが分かりません (ヘッダーに書かれていないか、100分を超えます)"_s;
    if (!whyNot.isEmpty())
        return nullptr;
    return std::unique_ptr<AudioFile>(new AudioFile(*sndfile, std::move(file), info));
}

QString AudioFile::tag(int which) const
{
    return QString::fromUtf8(sndfile_.getString(file_.get(), which));
}

bool AudioFile::read(qint64 first, qint64 count, std::byte* out)
{
    if (sndfile_.seek(file_.get(), first, SEEK_SET) < 0)
        return false;
    if (isFloat_)
        return readAs(floats_, count, out, sndfile_.readfFloat, [](float sample) {
            return std::isnan(sample)
                       ? qint16(0)
                       : qint16(std::lrint(std::clamp(sample * 32768.0f, -32768.0f, 32767.0f)));
        });
    // libsndfile gives every integer sample at full 32-bit scale: the top 16 bits are a CD's.
    return readAs(ints_, count, out, sndfile_.readfInt,
                  [](int sample) { return qint16(sample >> 16); });
}

// A file that ends or fails before the frames asked for is a failing disc.
template <typename Sample, typename Read, typename To16>
bool AudioFile::readAs(std::vector<Sample>& scratch, qint64 count, std::byte* out, Read read,
                       To16 to16)
{
    scratch.resize(std::size_t(count * channels_));
    if (read(file_.get(), scratch.data(), count) != count)
        return false;
    for (qint64 frame = 0; frame < count; ++frame) {
        const Sample* sample = &scratch[std::size_t(frame * channels_)];
        const qint16 left = to16(sample[0]);
        const qint16 right = to16(sample[channels_ - 1]);
        const std::uint8_t bytes[4] = {std::uint8_t(left), std::uint8_t(left >> 8),
                                       std::uint8_t(right), std::uint8_t(right >> 8)};
        std::memcpy(out + frame * cdtime::kBytesPerFrame, bytes, 4);
    }
    return true;
}
