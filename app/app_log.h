// The log of the commands with their questions and outcomes: category "lumo.app", off unless
// QT_LOGGING_RULES="lumo.*.debug=true" or `lumo --verbose` turns it on.
#pragma once

#include <QLoggingCategory>

namespace lumo {

Q_DECLARE_LOGGING_CATEGORY(appLog)

} // namespace lumo
