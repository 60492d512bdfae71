#pragma once

#include "audiosink.h"
#include "disc.h"
#include "drivetable.h"

#include <cstddef>
#include <functional>

// Reads `count` whole sectors of a disc's audio into `out`, as Disc::readAudio does.
using SectorRead = std::function<bool(Disc& disc, int firstSector, int count, std::byte* out)>;

// What the player reads the disc with and plays it through: the disc itself, the system's optical
// drives and the sound output in the program; stand-ins that the tests turn by hand.
struct PlayerDevices {
    AudioSinkFactory makeSink;
    SectorRead readSectors = &Disc::readAudio;
    std::function<QStringList()> opticalDrives = &DriveTable::systemOpticalDrives;
};
