// The log of the device search and the transfers: category "lumo.device", off unless
// QT_LOGGING_RULES="lumo.*.debug=true" or `lumo --verbose` turns it on.
#pragma once

#include <QLoggingCategory>

namespace lumo {

Q_DECLARE_LOGGING_CATEGORY(deviceLog)

} // namespace lumo
