#include "app/app_log.h"

namespace lumo {

// Warnings and worse only by default: the debug lines are what a bug report asks for.
Q_LOGGING_CATEGORY(appLog, "lumo.app", QtWarningMsg)

} // namespace lumo
