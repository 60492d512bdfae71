#pragma once

#include <QFileDevice>
#include <QString>

// Makes a folder read-only (r-x for everyone) while it lives, then gives it its permissions back.
// Root writes into such a folder all the same, so the calling thread also lays down its power to
// override file permissions (CAP_DAC_OVERRIDE) for as long; the folder then stops root as it
// stops anyone else. Only the calling thread is bound.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // Whether a file can indeed no longer be made in the folder.
    bool holds() const { return holds_; }

private:
    const QString path_;
    const QFileDevice::Permissions before_;
    bool overrideLaidDown_ = false;
    bool holds_ = false;
};
