#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QtGlobal>

// What the image writers share: the sheet's times, its text on disk, and how file errors read.

// "mm:ss:ff" of a sector counted from the start of its file, 75 frames a second.
QString cueTime(qint64 sector);

// "path: reason" for a file that failed.
QString fileError(const QFileDevice& file);

// Creates the sheet's folder if it is missing.
bool makeFolder(const QString& path, QString* error);

// Writes the sheet whole or not at all.
bool writeCueSheet(const QString& path, const QByteArray& text, QString* error);
