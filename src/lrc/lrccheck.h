#pragma once

#include "lyricscheck.h"

#include <QList>
#include <QString>

// What corvanta-check finds wrong in a written lyrics file, without a track: the tagged lines
// that would never light up. Its notes are no faults and are left out. None for a file the
// converter wrote, unless the converter is at fault.
QList<Finding> darkLines(const QString& path);
