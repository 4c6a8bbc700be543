// The shown form of each stored value, following the editors' encodings: channel index
// 0..15 is channel 1..16 and 16 "Global"; bend speed is stored minus 1; transpose plus 13;
// choice values are positions in their lists.
#include "cli/scene_text.h"

#include "scene/control_index.h"

#include <QStringList>

namespace lumo::cli {

namespace {

const QStringList kVelocityCurves = {"Light", "Normal", "Heavy", "Const"};
const QStringList kEnableItems = {"Disable", "Enable"};
const QStringList kPadAssignItems = {"No Assign", "Control Change", "Note"};
const QStringList kBehaviorItems = {"Momentary", "Toggle"};

QString invalid(int value)
{
    return QStringLiteral("invalid (%1)").arg(value);
}

QString choice(const QStringList& items, int value)
{
    return value >= 0 && value < items.size() ? items[value] : invalid(value);
}

QString channel(int value, bool offersGlobal)
{
    if (value >= 0 && value <= 15) return QString::number(value + 1);
    if (value == 16 && offersGlobal) return QStringLiteral("Global");
    return invalid(value);
}

QString number(int value)
{
    return QString::number(value);
}

class Builder {
public:
    explicit Builder(std::vector<Setting>& out) : m_out(out) {}
    void control(const QString& name) { m_control = name; }
    void add(const char* field, const char* caption, int stored, const QString& shown)
    {
        m_out.push_back({m_control, QLatin1String(field), QLatin1String(caption), stored, shown});
    }

private:
    std::vector<Setting>& m_out;
    QString m_control;
};

} // namespace

QString SceneNameText(const SceneRecord& record)
{
    const std::string name = SceneName(record);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::vector<Setting> SettingsOf(const SceneRecord& r, const NoteNames& notes)
{
    std::vector<Setting> settings;
    Builder b(settings);

    b.control(QStringLiteral("Common"));
    b.add("SceneName", "Scene Name", 0, SceneNameText(r));
    b.add("SceneMIDICh", "Global MIDI Ch", r.SceneMIDICh, channel(r.SceneMIDICh, false));
    b.add("PianoKeyCh", "Piano Key CC# Ch", r.PianoKeyCh, channel(r.PianoKeyCh, true));
    b.add("BendSpeed", "Pitch Bend Speed", r.BendSpeed, number(r.BendSpeed + 1));
    b.add("KeyTrans", "Key Transpose", r.KeyTrans, number(r.KeyTrans - 13));
    b.add("KeyVelocityCurve", "Key Velocity Curve", r.KeyVelocityCurve, choice(kVelocityCurves, r.KeyVelocityCurve));
    b.add("KeyConstVelocity", "Key Const Velocity", r.KeyConstVelocity, number(r.KeyConstVelocity));
    b.add("PadVelocityCurve", "Pad Velocity Curve", r.PadVelocityCurve, choice(kVelocityCurves, r.PadVelocityCurve));
    b.add("PadConstVelocity", "Pad Const Velocity", r.PadConstVelocity, number(r.PadConstVelocity));

    for (int i = 0; i < kGroupCount; ++i) {
        b.control(QStringLiteral("Group Common-%1").arg(i + 1));
        b.add("MIDICh", "MIDI Channel", r.MIDICh[i], channel(r.MIDICh[i], true));
    }
    for (int i = 0; i < kKnobCount; ++i) {
        b.control(QStringLiteral("Konb-%1").arg(i + 1));
        b.add("KonbEnable", "Enable", r.KonbEnable[i], choice(kEnableItems, r.KonbEnable[i]));
        b.add("KonbCCNumber", "CC Number", r.KonbCCNumber[i], number(r.KonbCCNumber[i]));
        b.add("KonbURValue", "Upper/Right Value", r.KonbURValue[i], number(r.KonbURValue[i]));
        b.add("KonbLLValue", "Lower/Left Value", r.KonbLLValue[i], number(r.KonbLLValue[i]));
    }
    for (int i = 0; i < kSliderCount; ++i) {
        b.control(QStringLiteral("Slider-%1").arg(i + 1));
        b.add("SliderEnable", "Enable", r.SliderEnable[i], choice(kEnableItems, r.SliderEnable[i]));
        b.add("SliderCCNumber", "CC Number", r.SliderCCNumber[i], number(r.SliderCCNumber[i]));
        b.add("SliderURValue", "Upper/Right Value", r.SliderURValue[i], number(r.SliderURValue[i]));
        b.add("SliderLLValue", "Lower/Left Value", r.SliderLLValue[i], number(r.SliderLLValue[i]));
    }
    for (int i = 0; i < kPadCount; ++i) {
        b.control(QStringLiteral("Trigger Pad-%1").arg(i + 1));
        b.add("PadAssignType", "Assign Type", r.PadAssignType[i], choice(kPadAssignItems, r.PadAssignType[i]));
        QString ccOrNote = number(r.PadCCNumber[i]);
        if (r.PadAssignType[i] == 2) {
            if (const auto name = notes.name(r.PadCCNumber[i])) ccOrNote += QStringLiteral(" (%1)").arg(*name);
        }
        b.add("PadCCNumber", "CC/Note Number", r.PadCCNumber[i], ccOrNote);
        b.add("PadONValue", "ON Value", r.PadONValue[i], number(r.PadONValue[i]));
        b.add("PadOFFValue", "OFF Value", r.PadOFFValue[i], number(r.PadOFFValue[i]));
        b.add("PadBehavior", "Pad Behavior", r.PadBehavior[i], choice(kBehaviorItems, r.PadBehavior[i]));
        b.add("PadMIDICh", "MIDI Channel", r.PadMIDICh[i], channel(r.PadMIDICh[i], true));
    }
    for (int i = 0; i < kKeyCount; ++i) {
        b.control(QStringLiteral("Key-%1").arg(i + 1));
        b.add("KeyAssignType", "Assign Type", r.KeyAssignType[i], choice(kEnableItems, r.KeyAssignType[i]));
        b.add("KeyCCNumber", "CC/Note Number", r.KeyCCNumber[i], number(r.KeyCCNumber[i]));
        b.add("KeyONValue", "ON Value", r.KeyONValue[i], number(r.KeyONValue[i]));
        b.add("KeyOFFValue", "OFF Value", r.KeyOFFValue[i], number(r.KeyOFFValue[i]));
        b.add("KeyBehavior", "Key Behavior", r.KeyBehavior[i], choice(kBehaviorItems, r.KeyBehavior[i]));
    }
    return settings;
}

} // namespace lumo::cli
