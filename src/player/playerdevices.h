#pragma once

#include "audiosink.h"
#include "disc.h"
#include "drivetable.h"

#include <cstddef>
#include <functional>

// Reads `count` whole sectors of a disc's audio into `out`, as Disc::readAudio does.
using SectorRead = std::function<bool(Disc& disc, int firstSector, int count, std::byte* out)>;
// Opens the disc at a path, as Disc::open does.
using DiscOpen = std::function<std::unique_ptr<Disc>(const QString& path, QString* whyNot)>;

// What the player reads the disc with and plays it through: the disc itself, the system's optical
// drives and the sound output in the program; stand-ins in the tests, which turn the sound by
// hand and hold a drive's answers as long as they like.
struct PlayerDevices {
    AudioSinkFactory makeSink;
    SectorRead readSectors = &Disc::readAudio;
    std::function<QStringList()> opticalDrives = &DriveTable::systemOpticalDrives;
    DiscOpen openDisc = &Disc::open;
    // Sets how loud the output plays, 0 to 1; none where the output has no loudness of its own.
    std::function<void(double)> setVolume;
};
