#pragma once

#include <QLoggingCategory>

// Why a drive or a disc could not be opened, how a cue sheet's files were found, and what libcdio
// said: QT_LOGGING_RULES="corvanta.disc.info=true".
Q_DECLARE_LOGGING_CATEGORY(discLog)
