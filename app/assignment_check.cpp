// The assignment check, by the messages of scene/control_messages.h.
#include "app/assignment_check.h"

#include "scene/control_messages.h"
#include "scene/display_texts.h"

#include <QCoreApplication>

#include <algorithm>
#include <optional>

namespace lumo {

namespace {

struct Sender {
    int controlIndex;
    ControlMessage message;
};

QString controlName(int controlIndex)
{
    return ControlListItems().at(controlIndex);
}

QString kindWord(MidiMessageKind kind)
{
    return kind == MidiMessageKind::Note ? QCoreApplication::translate("AssignmentCheck", "note")
                                          : QCoreApplication::translate("AssignmentCheck", "CC");
}

// The name the user knows a channel field by: its control's, or the Common panel's caption.
QString channelFieldName(const ChannelField& field)
{
    if (field.id == SettingId::MIDICh) return controlName(FirstIndexOfKind(ControlKind::Group) + field.element);
    if (field.id == SettingId::PadMIDICh) return controlName(FirstIndexOfKind(ControlKind::Pad) + field.element);
    return QString::fromLatin1(Setting(field.id).caption);
}

} // namespace

QString MessageDescription(const ControlMessage& message)
{
    return QStringLiteral("%1 %2 on channel %3").arg(kindWord(message.kind)).arg(message.number).arg(message.channel + 1);
}

QString ControlToolTip(const SceneRecord& record, int controlIndex)
{
    const QString name = controlName(controlIndex) + QStringLiteral(": ");
    const ControlKind kind = KindOfControl(controlIndex);
    const int e = ElementOfControl(controlIndex);
    if (kind == ControlKind::Group)
        return name + QStringLiteral("channel %1").arg(ResolveChannel(record, record.MIDICh[e]) + 1);
    const std::optional<ControlMessage> message = MessageOfControl(record, controlIndex);
    if (!message) return name + QStringLiteral("off");
    QString description = MessageDescription(*message);
    description[0] = description[0].toUpper();
    const QString range = QStringLiteral(", %1\u2013%2");
    const QString values = QStringLiteral(", OFF %1, ON %2");
    switch (kind) {
    case ControlKind::Knob: description += range.arg(record.KonbLLValue[e]).arg(record.KonbURValue[e]); break;
    case ControlKind::Slider: description += range.arg(record.SliderLLValue[e]).arg(record.SliderURValue[e]); break;
    case ControlKind::Pad:
        if (message->kind == MidiMessageKind::ControlChange)
            description += values.arg(record.PadOFFValue[e]).arg(record.PadONValue[e]);
        break;
    case ControlKind::Key: description += values.arg(record.KeyOFFValue[e]).arg(record.KeyONValue[e]); break;
    default: break;
    }
    return name + description;
}

std::vector<AssignmentFinding> CheckScene(const SceneRecord& record, int sceneNumber)
{
    const QString scene = QCoreApplication::translate("AssignmentCheck", "scene %1: ").arg(sceneNumber);
    std::vector<AssignmentFinding> findings;
    auto report = [&](const QString& text, int first = 0, int second = 0) {
        findings.push_back({scene + text, first, second});
    };

    // "Global" stands for this channel, which has no "Global" item of its own.
    if (!IsMidiChannel(record.SceneMIDICh))
        report(QCoreApplication::translate("AssignmentCheck", "%1 holds channel index %2, outside 1-16")
                   .arg(QString::fromLatin1(Setting(SettingId::SceneMIDICh).caption))
                   .arg(record.SceneMIDICh));

    std::vector<Sender> senders;
    std::vector<std::pair<SettingId, int>> reportedFields;
    for (int i = 0; i < kControlCount; ++i) {
        const std::optional<ControlMessage> message = MessageOfControl(record, i);
        if (!message) continue;

        const ChannelField field = ChannelFieldOfControl(i);
        const std::int32_t stored = SettingValue(record, Setting(field.id), field.element);
        const std::pair<SettingId, int> key{field.id, field.element};
        if ((stored < 0 || stored > kGlobalChannel) && std::ranges::find(reportedFields, key) == reportedFields.end()) {
            reportedFields.push_back(key);
            report(QCoreApplication::translate("AssignmentCheck", "%1 holds channel index %2, outside 1-16 and Global").arg(channelFieldName(field)).arg(stored));
        }
        if (!IsMidiNumber(message->number))
            report(QCoreApplication::translate("AssignmentCheck", "%1 sends %2 %3, outside 0-127").arg(controlName(i), kindWord(message->kind)).arg(message->number));
        if (!IsMidiNumber(message->number) || !IsMidiChannel(message->channel)) continue;

        const auto same = std::ranges::find(senders, *message, &Sender::message);
        if (same != senders.end())
            report(QCoreApplication::translate("AssignmentCheck", "%1 and %2 both send %3")
                       .arg(controlName(same->controlIndex), controlName(i), MessageDescription(*message)),
                   same->controlIndex, i);
        else
            senders.push_back({i, *message});
    }
    return findings;
}

QStringList CheckAssignments(const SceneSet& scenes)
{
    QStringList lines;
    for (int n = 1; n <= kSceneCount; ++n)
        for (const AssignmentFinding& finding : CheckScene(scenes.scene(n), n))
            lines << finding.text;
    return lines;
}

std::vector<int> ConflictingControls(const SceneRecord& record)
{
    std::vector<int> controls;
    for (const AssignmentFinding& finding : CheckScene(record, 1)) {
        if (finding.secondControl == 0) continue;
        controls.push_back(finding.firstControl);
        controls.push_back(finding.secondControl);
    }
    std::ranges::sort(controls);
    controls.erase(std::unique(controls.begin(), controls.end()), controls.end());
    return controls;
}

} // namespace lumo
