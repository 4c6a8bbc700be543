// The SCENE CONTROL FIELD arguments of `lumo get` and `lumo set`.
#pragma once

#include "cli/cli_common.h"
#include "scene/setting_access.h"

#include <optional>

namespace lumo::cli {

struct NamedSetting {
    int scene = 1; // 1..4
    SettingAddress address;
};

// The setting that SCENE, CONTROL and FIELD name. When one names nothing, prints the usage
// error with the valid names and returns nothing; the command then exits with kExitUsage.
std::optional<NamedSetting> FindNamedSetting(const Command& command, const QString& scene, const QString& control,
                                             const QString& field);

} // namespace lumo::cli
