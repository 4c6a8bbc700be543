// The shown form of each stored value, as the settings table converts it; a pad's note
// number also gets its note name.
#include "app/shown_settings.h"

#include "scene/display_texts.h"
#include "scene/setting_access.h"

namespace lumo {

namespace {

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString shownText(const SceneRecord& r, const SceneSetting& s, int e, const NoteNames& notes)
{
    if (s.shownAs == ShownAs::Name) return SceneCaption(r);
    const std::int32_t stored = SettingValue(r, s, e);
    QString text = ShownText(s, stored).value_or(QStringLiteral("invalid (%1)").arg(stored));
    if (s.id == SettingId::PadCCNumber && r.PadAssignType[e] == 2) {
        if (const auto name = notes.name(stored)) text += QStringLiteral(" (%1)").arg(*name);
    }
    return text;
}

} // namespace

std::vector<ShownSetting> ShownSettingsOf(const SceneRecord& r, const NoteNames& notes)
{
    std::vector<ShownSetting> settings;
    for (ControlKind kind : {ControlKind::Common, ControlKind::Group, ControlKind::Knob, ControlKind::Slider,
                             ControlKind::Pad, ControlKind::Key}) {
        for (int e = 0; e < ControlCountOfKind(kind); ++e) {
            const QString& control = ControlListItems().at(FirstIndexOfKind(kind) + e);
            for (const SceneSetting& s : SettingsOfKind(kind))
                settings.push_back({&s, control, FieldName(s), latin1(s.caption), SettingValue(r, s, e),
                                    shownText(r, s, e, notes)});
        }
    }
    return settings;
}

} // namespace lumo
