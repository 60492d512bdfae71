#include "drivekind.h"

#include "drivetable.h"

namespace {

constexpr int kNoRootDirectory = 1;
constexpr int kCdRom = 5;

} // namespace

int GetDriveKind(const DriveTable& drives, const QString& letter)
{
    return !letter.isEmpty() && drives.target(letter.front()) ? kCdRom : kNoRootDirectory;
}
