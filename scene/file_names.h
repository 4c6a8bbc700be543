// File names as the system stores them: bytes that need not be UTF-8, carried in a QString
// without loss so that any name a user can type in a shell can be opened and saved.
#pragma once

#include <QByteArray>
#include <QString>

namespace lumo {

// Decodes a name as UTF-8; each byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC80..U+DCFF, the same escape that Python uses for file names.
QString FileNameFromBytes(const QByteArray& bytes);
// The inverse: UTF-8, with each lone surrogate U+DC80..U+DCFF turned back into its byte.
QByteArray FileNameToBytes(const QString& name);

} // namespace lumo
