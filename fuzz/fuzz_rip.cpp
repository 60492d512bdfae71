// Any bytes as a cue sheet beside a few small audio files (WAV, FLAC), and as an audio file that
// a sheet names: Disc::open either refuses them or gives a table of contents that makes sense,
// and reading from each audio track stays inside the buffer it is given, the damaged file's
// reads failing rather than running over. libsndfile is Debian's build, not instrumented.

#include "disccheck.h"

#include <QLoggingCategory>
#include <cstdint>
#include <memory>
#include <sndfile.h>

namespace {

// Writes two seconds of a ramp in `format`, so no two frames are alike.
void writeAudio(const QString& name, int format)
{
    SF_INFO info{};
    info.samplerate = cdtime::kSampleRate;
    info.channels = 2;
    info.format = format;
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(
        sf_open(QFile::encodeName(fuzz::path(name)).constData(), SFM_WRITE, &info), &sf_close);
    std::vector<short> samples(std::size_t(2 * cdtime::kSampleRate) * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = short(i * 7);
    if (!file || sf_writef_short(file.get(), samples.data(), sf_count_t(samples.size() / 2)) <= 0)
        fuzz::fail("cannot write the audio the sheets name");
}

void prepare()
{
    if (qEnvironmentVariableIsSet("FUZZ_VERBOSE"))
        QLoggingCategory::setFilterRules(QStringLiteral("corvanta.disc.info=true"));
    writeAudio(QStringLiteral("a.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    writeAudio(QStringLiteral("b.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    const QByteArray sheet = "FILE \"damaged.flac\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                             "  TRACK 02 AUDIO\n    INDEX 01 00:00:30\n";
    fuzz::writeFile(fuzz::path(QStringLiteral("damaged.cue")), sheet.constData(), sheet.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool prepared = (prepare(), true);
    (void)prepared;
    const auto bytes = reinterpret_cast<const char*>(data);
    fuzz::writeFile(fuzz::path(QStringLiteral("rip.cue")), bytes, qsizetype(size));
    fuzz::checkDisc(fuzz::path(QStringLiteral("rip.cue")), true);
    fuzz::writeFile(fuzz::path(QStringLiteral("damaged.flac")), bytes, qsizetype(size));
    fuzz::checkDisc(fuzz::path(QStringLiteral("damaged.cue")), false);
    return 0;
}
