// Looking up controls and fields by name, and one stored value as text.
#include "scene/setting_access.h"

#include "scene/display_texts.h"

namespace lumo {

namespace {

const QString kPadPrefix = QStringLiteral("Pad-");
const QString kListPadPrefix = QStringLiteral("Trigger Pad-");

} // namespace

QString FieldName(const SceneSetting& setting)
{
    return QString::fromLatin1(setting.name.data(), static_cast<qsizetype>(setting.name.size()));
}

std::optional<int> FindControl(const QString& name)
{
    QString listName = name;
    if (name.startsWith(kPadPrefix, Qt::CaseInsensitive)) listName = kListPadPrefix + name.mid(kPadPrefix.size());
    const QStringList& items = ControlListItems();
    for (int index = 0; index < items.size(); ++index)
        if (items.at(index).compare(listName, Qt::CaseInsensitive) == 0) return index;
    return std::nullopt;
}

QString ControlNamesSummary()
{
    const QStringList& items = ControlListItems();
    QStringList kinds;
    for (ControlKind kind : {ControlKind::Common, ControlKind::Group, ControlKind::Knob, ControlKind::Slider,
                             ControlKind::Pad, ControlKind::Key}) {
        const int first = FirstIndexOfKind(kind);
        const int count = ControlCountOfKind(kind);
        kinds.append(count == 1 ? items.at(first) : items.at(first) + QStringLiteral(" .. ") + items.at(first + count - 1));
    }
    return kinds.join(QStringLiteral(", ")) + QStringLiteral(" (\"Pad-N\" for \"Trigger Pad-N\")");
}

std::optional<SettingAddress> FindField(int controlIndex, const QString& field)
{
    for (const SceneSetting& setting : SettingsOfKind(KindOfControl(controlIndex))) {
        if (FieldName(setting).compare(field, Qt::CaseInsensitive) == 0) return SettingAddress{&setting, ElementOfControl(controlIndex)};
    }
    return std::nullopt;
}

QString FieldNamesOfControl(int controlIndex)
{
    QStringList names;
    for (const SceneSetting& setting : SettingsOfKind(KindOfControl(controlIndex)))
        names.append(FieldName(setting));
    return names.join(QStringLiteral(", "));
}

QString StoredText(const SceneRecord& record, const SettingAddress& address)
{
    if (address.setting->shownAs == ShownAs::Name) return SceneCaption(record);
    return QString::number(SettingValue(record, *address.setting, address.element));
}

QString SetStoredText(SceneRecord& record, const SettingAddress& address, const QString& text)
{
    QString problem;
    if (address.setting->shownAs == ShownAs::Name) {
        if (const std::optional<QByteArray> name = SceneNameBytes(text, problem))
            SetSceneName(record, std::string_view(name->constData(), static_cast<std::size_t>(name->size())));
        return problem;
    }
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value) return QStringLiteral("'%1' is no whole number from -2147483648 to 2147483647").arg(text);
    SetSettingValue(record, *address.setting, address.element, *value);
    return QString();
}

std::optional<QByteArray> SceneNameBytes(const QString& text, QString& problem)
{
    if (text.size() > kSceneNameCapacity) {
        problem = QStringLiteral("\"%1\" has %2 characters, a scene name %3 at most").arg(text).arg(text.size()).arg(kSceneNameCapacity);
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            problem = QStringLiteral("'%1' is no 8-bit (Latin-1) character").arg(c);
            return std::nullopt;
        }
    }
    return text.toLatin1();
}

} // namespace lumo
