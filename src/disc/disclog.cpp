#include "disclog.h"

Q_LOGGING_CATEGORY(discLog, "corvanta.disc", QtWarningMsg)
