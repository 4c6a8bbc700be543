// The commands of the "File" menu on a document, free of widgets: New, Open, Save, Save as and
// the save question of Quit, with their dialogs and error boxes asked through the document's
// UserAnswers. The window and the tests run the same flows.
#pragma once

#include "scene/document.h"

#include <QDateTime>
#include <QString>

namespace lumo {

// The English text; asked through Qt's translation.
inline const QString kSaveQuestion = QString::fromUtf8(QT_TRANSLATE_NOOP("FileCommands", "Do you want to save changes?"));

// The save question, asked only while the document has unsaved edits. False when the asking
// command must stop: Cancel, or Yes followed by a cancelled or failed "Save as".
bool OfferToSave(Document& document);

// "New": after the save question, the defaults replace all four scenes and the file name is
// forgotten; the current scene stays. True when the scenes were replaced, so the caller
// redisplays; false leaves the document as it was.
bool NewDocument(Document& document);
// "Open": after the save question, the four scenes are loaded from the chosen file; the file
// name, the current scene and the flag stay. True when loaded, so the caller redisplays; a
// cancelled dialog changes nothing, a failed load shows its error box.
bool OpenDocument(Document& document);
// "Save": to the current file name, or "Save as" when there is none. True when saved.
bool SaveDocument(Document& document);
// "Save as": the save dialog starts with the current file name, or the proposed name when
// there is none; a successful save makes the chosen name the current one. True when saved.
bool SaveDocumentAs(Document& document);

// "scene" + yymmddhhnn + ".lumo" for the given local time.
QString ProposedFileName(const QDateTime& when);

} // namespace lumo
