// The log of the scene file, the parameter files: category "lumo.file", off unless
// QT_LOGGING_RULES="lumo.*.debug=true" or `lumo --verbose` turns it on.
#pragma once

#include <QLoggingCategory>

namespace lumo {

Q_DECLARE_LOGGING_CATEGORY(fileLog)

} // namespace lumo
