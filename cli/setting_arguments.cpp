// Turning SCENE CONTROL FIELD into a setting, with the valid names on a mistake.
#include "cli/setting_arguments.h"

#include "scene/display_texts.h"

namespace lumo::cli {

std::optional<NamedSetting> FindNamedSetting(const Command& command, const QString& scene, const QString& control,
                                             const QString& field)
{
    const std::optional<int> number = ParseWholeNumber(scene);
    if (!number || *number < 1 || *number > kSceneCount) {
        UsageError(command, QStringLiteral("SCENE must be 1, 2, 3 or 4, not '%1'").arg(scene));
        return std::nullopt;
    }
    const std::optional<int> controlIndex = FindControl(control);
    if (!controlIndex) {
        UsageError(command, QStringLiteral("no control is named '%1'; the controls are %2").arg(control, ControlNamesSummary()));
        return std::nullopt;
    }
    const std::optional<SettingAddress> address = FindField(*controlIndex, field);
    if (!address) {
        UsageError(command, QStringLiteral("%1 has no field '%2'; its fields are %3")
                                .arg(ControlListItems().at(*controlIndex), field, FieldNamesOfControl(*controlIndex)));
        return std::nullopt;
    }
    return NamedSetting{*number, *address};
}

} // namespace lumo::cli
