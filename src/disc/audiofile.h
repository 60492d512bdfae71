#pragma once

#include "discfile.h"
#include "sndfileapi.h"

#include <QString>
#include <memory>
#include <vector>

// An audio file of a rip, decoded with libsndfile as a CD holds it: 44.1 kHz, 16 bits (24 are
// cut to 16; floating point is scaled and clipped), mono played on both sides.
class AudioFile final : public DiscFile {
public:
    // Nothing when the file is no audio at all (`whyNot` empty), or is audio no CD holds or of
    // no known length (`whyNot` says why, in Japanese).
    static std::unique_ptr<AudioFile> open(const QString& path, QString& whyNot);

    bool read(qint64 first, qint64 count, std::byte* out) override;
    // What the file's tags say (SF_STR_TITLE, …); empty where they say nothing.
    QString tag(int which) const;

private:
    struct Closer {
        const SndfileApi* sndfile;
        void operator()(SNDFILE* file) const { sndfile->close(file); }
    };
    using Handle = std::unique_ptr<SNDFILE, Closer>;

    AudioFile(const SndfileApi& sndfile, Handle file, const SF_INFO& info);
    template <typename Sample, typename Read, typename To16>
    bool readAs(std::vector<Sample>& scratch, qint64 count, std::byte* out, Read read, To16 to16);

    const SndfileApi& sndfile_;
    Handle file_;
    int channels_;
    bool isFloat_;
    std::vector<int> ints_; // the reads' scratch
    std::vector<float> floats_;
};
