#include "settingslog.h"

Q_LOGGING_CATEGORY(settingsLog, "corvanta.settings", QtWarningMsg)
