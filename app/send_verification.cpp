// Which setting each byte of a scene image holds is learnt from the packing itself: a record
// whose every element holds its own number 1..217 is packed once, and each byte then names its
// element. The image layout is thus known in one place only.
#include "app/send_verification.h"

#include "device/scene_image.h"
#include "scene/display_texts.h"
#include "scene/scene_settings.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <vector>

namespace lumo {
namespace {

struct ImageField {
    const SceneSetting* setting = nullptr; // nullptr: a scene name byte
    int element = 0;
};

const std::array<ImageField, kSceneImageSize>& imageFields()
{
    static const std::array<ImageField, kSceneImageSize> fields = [] {
        SceneSet probe; // all zero: the name bytes pack as 0
        std::vector<ImageField> byMarker(1);
        for (const SceneSetting& setting : SceneSettings()) {
            if (setting.id == SettingId::SceneName)
                continue;
            for (int e = 0; e < setting.count; ++e) {
                SetSettingValue(probe.scene(1), setting, e, static_cast<std::int32_t>(byMarker.size()));
                byMarker.push_back({&setting, e});
            }
        }
        // One byte per element besides the name, each number fitting the byte that holds it.
        Q_ASSERT(byMarker.size() == kSceneImageSize - kSceneNameCapacity + 1);
        ImageBuffer image{};
        PackSceneImage(probe, image.data());
        std::array<ImageField, kSceneImageSize> result{};
        for (int position = 0; position < kSceneImageSize; ++position)
            result[position] = byMarker[image[position]];
        return result;
    }();
    return fields;
}

// The name bytes as text: Latin-1, other bytes as \xNN, the zero bytes that end it left out.
QString nameText(const std::uint8_t* bytes)
{
    int length = kSceneNameCapacity;
    while (length > 0 && bytes[length - 1] == 0)
        --length;
    QString text = QStringLiteral("\"");
    for (int i = 0; i < length; ++i) {
        const std::uint8_t byte = bytes[i];
        if (byte == '"' || byte == '\\')
            text += QStringLiteral("\\") + QChar(byte);
        else if ((byte >= 0x20 && byte < 0x7F) || byte >= 0xA0)
            text += QChar(byte);
        else
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text + QLatin1Char('"');
}

QString line(int scene, int controlIndex, QLatin1StringView field, const QString& sent, const QString& read)
{
    return QCoreApplication::translate("SendVerification", "scene %1, %2, %3: sent %4, read %5")
        .arg(scene)
        .arg(ControlListItems().at(controlIndex), field, sent, read);
}

} // namespace

QStringList SceneImageDifferences(const ImageBuffer& sent, const ImageBuffer& readBack)
{
    const std::array<ImageField, kSceneImageSize>& fields = imageFields();
    QStringList lines;
    for (int scene = 1; scene <= kSceneCount; ++scene) {
        const std::uint8_t* want = sent.data() + (scene - 1) * kSceneImageSize;
        const std::uint8_t* got = readBack.data() + (scene - 1) * kSceneImageSize;
        for (int position = 0; position < kSceneImageSize; ++position) {
            const ImageField& field = fields[position];
            if (!field.setting) {
                if (position == image_pos::SceneName
                    && !std::equal(want + position, want + position + kSceneNameCapacity, got + position))
                    lines.append(line(scene, 0, QLatin1StringView("SceneName"), nameText(want + position),
                                      nameText(got + position)));
                continue;
            }
            if (want[position] == got[position])
                continue;
            const int controlIndex = FirstIndexOfKind(field.setting->kind) + field.element;
            const QLatin1StringView name(field.setting->name.data(), field.setting->name.size());
            lines.append(line(scene, controlIndex, name, QString::number(want[position]),
                              QString::number(got[position])));
        }
    }
    return lines;
}

QString VerificationWarningText(const QStringList& differences)
{
    QStringList lines{QCoreApplication::translate("SendVerification", "The scenes read back from the controller differ from the scenes sent:")};
    lines += differences.mid(0, kWarningDifferenceLines);
    const qsizetype rest = differences.size() - kWarningDifferenceLines;
    if (rest == 1)
        lines.append(QCoreApplication::translate("SendVerification", "... and 1 more difference."));
    else if (rest > 1)
        lines.append(QCoreApplication::translate("SendVerification", "... and %1 more differences.").arg(rest));
    return lines.join(QLatin1Char('\n'));
}

} // namespace lumo
