// The sheet's lines, by the messages of scene/control_messages.h.
#include "app/assignment_sheet.h"

#include "scene/control_messages.h"
#include "scene/display_texts.h"

namespace lumo {

namespace {

const QString kEmDash = QStringLiteral(" \u2014 ");
const QChar kEnDash(0x2013);

QString range(std::int32_t from, std::int32_t to)
{
    return QStringLiteral(", %1%2%3").arg(from).arg(kEnDash).arg(to);
}

QString behaviour(std::int32_t stored)
{
    return stored == 1 ? QStringLiteral(", toggle") : QStringLiteral(", momentary");
}

QString channel(std::int32_t resolved)
{
    return IsMidiChannel(resolved) ? QStringLiteral(" on channel %1").arg(resolved + 1)
                                   : QStringLiteral(" on channel index %1").arg(resolved);
}

} // namespace

QStringList AssignmentSheetLines(const SceneRecord& r, const NoteNames& notes)
{
    QStringList lines;
    for (int i = 0; i < kControlCount; ++i) {
        const std::optional<ControlMessage> message = MessageOfControl(r, i);
        if (!message) continue;
        const int e = ElementOfControl(i);
        QString text = ControlListItems().at(i) + kEmDash;
        if (message->kind == MidiMessageKind::Note) {
            text += QStringLiteral("note %1").arg(message->number);
            if (const auto name = notes.name(message->number)) text += QStringLiteral(" (%1)").arg(*name);
        } else {
            text += QStringLiteral("CC %1").arg(message->number);
        }
        text += channel(message->channel);
        switch (KindOfControl(i)) {
        case ControlKind::Knob: text += range(r.KonbLLValue[e], r.KonbURValue[e]); break;
        case ControlKind::Slider: text += range(r.SliderLLValue[e], r.SliderURValue[e]); break;
        case ControlKind::Pad:
            if (message->kind == MidiMessageKind::ControlChange) text += range(r.PadOFFValue[e], r.PadONValue[e]);
            text += behaviour(r.PadBehavior[e]);
            break;
        case ControlKind::Key: text += range(r.KeyOFFValue[e], r.KeyONValue[e]) + behaviour(r.KeyBehavior[e]); break;
        default: break;
        }
        lines.append(text);
    }
    return lines;
}

} // namespace lumo
