// Differences by the shown settings: stored values compared, the scene name as its text.
#include "app/scene_differences.h"

#include "app/shown_settings.h"

#include <QCoreApplication>

namespace lumo {

namespace {

QString quotedIfName(const ShownSetting& s)
{
    return s.setting->shownAs == ShownAs::Name ? QLatin1Char('"') + s.shown + QLatin1Char('"') : s.shown;
}

} // namespace

QStringList SceneDifferenceLines(const SceneSet& a, const SceneSet& b, const NoteNames& notes)
{
    QStringList lines;
    for (int n = 1; n <= kSceneCount; ++n) {
        const std::vector<ShownSetting> left = ShownSettingsOf(a.scene(n), notes);
        const std::vector<ShownSetting> right = ShownSettingsOf(b.scene(n), notes);
        for (std::size_t i = 0; i < left.size(); ++i) {
            // The shown text of a pad's note number also depends on its assign type, which has
            // a line of its own; only the name is compared as text.
            const bool isName = left[i].setting->shownAs == ShownAs::Name;
            if (isName ? left[i].shown == right[i].shown : left[i].stored == right[i].stored) continue;
            lines.append(QCoreApplication::translate("SceneDifferences", "scene %1, %2, %3: %4 -> %5")
                             .arg(n)
                             .arg(left[i].control, left[i].field, quotedIfName(left[i]), quotedIfName(right[i])));
        }
    }
    return lines;
}

} // namespace lumo
