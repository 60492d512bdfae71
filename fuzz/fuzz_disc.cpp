// Any bytes as a cue sheet or a toc file beside a small valid bin, and as an NRG image: Disc::open
// either refuses them or gives a table of contents that makes sense, and reading audio from each
// audio track stays inside the buffer it is given (AddressSanitizer watches the buffer's edges).
// libcdio speaks through the program's own log handler, as in the program: its errors fail the
// call instead of ending the process.
//
// libcdio itself is Debian's build, not instrumented: the fuzzer is guided by what Disc makes of
// its answers, and a fault inside libcdio shows only when it crashes. Replaying the corpus under
// valgrind with an uninstrumented build of this file (fuzz/replay.cpp) finds the quieter ones.

#include "disccheck.h"

#include <QLoggingCategory>
#include <cstdint>

namespace {

// A few seconds of audio, each sector filled with its own number so the data is not all alike.
constexpr int kBinSectors = 300;

void prepare()
{
    if (qEnvironmentVariableIsSet("FUZZ_VERBOSE"))
        QLoggingCategory::setFilterRules(QStringLiteral("corvanta.disc.info=true"));
    QByteArray bin(qsizetype(kBinSectors) * cdtime::kBytesPerSector, Qt::Uninitialized);
    for (qsizetype i = 0; i < bin.size(); ++i)
        bin[i] = char(i / cdtime::kBytesPerSector + i % 7);
    fuzz::writeFile(fuzz::path(QStringLiteral("disc.bin")), bin.constData(), bin.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool prepared = (prepare(), true);
    (void)prepared;
    for (const char* name : {"disc.cue", "disc.toc", "disc.nrg"}) {
        const QString path = fuzz::path(QString::fromLatin1(name));
        fuzz::writeFile(path, reinterpret_cast<const char*>(data), qsizetype(size));
        fuzz::checkDisc(path, true);
    }
    return 0;
}
