// Fuzzes what the window shows of a scene that came from a file or the controller: records with
// arbitrary field values (the first 3,536 input bytes as a Scene Set), or those records after
// the device scene image in the input is unpacked onto them. Every overlay text, panel value
// conversion and pad CC/Note rule runs on every scene; none may crash or read outside its lists.
#include "device/scene_image.h"
#include "scene/display_texts.h"
#include "scene/parameter_files.h"
#include "scene/scene_record.h"
#include "scene/scene_settings.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

const lumo::NoteNames& shippedNotes()
{
    static const lumo::ParameterFiles files = lumo::BuiltInParameterFiles();
    return files.notes;
}

// A note list cut short, so that numbers without a line are common.
const lumo::NoteNames& shortNotes()
{
    static const lumo::NoteNames notes(QByteArray("C-1\nC#-1\nD-1\n"));
    return notes;
}

// Shows one scene with one of the two note lists.
void showEverything(const lumo::SceneRecord& record, const QString& fieldText, bool shortList)
{
    using namespace lumo;
    (void)SceneCaption(record);
    {
        const NoteNames* notes = shortList ? &shortNotes() : &shippedNotes();
        for (int mode = -1; mode <= kDisplayModeCount; ++mode) {
            const auto texts = OverlayTexts(record, mode, *notes);
            // The table of all labels agrees with the single label, checked for one label a mode.
            const int index = 1 + (mode + 1) * 5 % kOverlayLabelCount + record.PadCCNumber[0] % 5;
            if (index >= 1 && index <= kOverlayLabelCount) {
                check(OverlayText(record, index, mode, *notes) == texts[static_cast<std::size_t>(index - 1)]);
            }
        }
        for (int pad = 0; pad < kPadCount; ++pad) {
            const std::int32_t number = record.PadCCNumber[pad];
            const std::int32_t assignment = record.PadAssignType[pad];
            for (int shown = 0; shown <= 3; ++shown) {
                const std::optional<QString> display = PadNumberDisplay(number, shown, *notes);
                const std::optional<QString> switched = PadSwitchText(number, shown, *notes);
                // A number shown under its assignment reads back as that number.
                if (display && number >= 0 && number <= 127) {
                    const std::optional<int> read = ReadPadNumber(*display, shown, *notes);
                    check(read.has_value() && (shown != 1 || *read == number));
                }
                if (switched) (void)ReadPadNumber(*switched, shown, *notes);
                (void)StepPadNumber(display.value_or(fieldText), shown, +1, *notes);
                (void)StepPadNumber(display.value_or(fieldText), shown, -1, *notes);
            }
            (void)PadNumberDisplay(number, assignment, *notes);
            (void)ReadPadNumber(fieldText, assignment, *notes);
            (void)StepPadNumber(fieldText, assignment, +1, *notes);
        }
    }
    // Every stored value converts to its shown form and back unchanged.
    for (const SceneSetting& setting : SceneSettings()) {
        if (setting.shownAs == ShownAs::Name) continue;
        const std::int32_t stored = SettingValue(record, setting, setting.count - 1);
        check(StoredNumber(setting, ShownNumber(setting, stored)) == stored);
        if (const std::optional<QString> shown = ShownText(setting, stored))
            check(StoredFromText(setting, *shown) == stored);
        (void)StoredFromText(setting, fieldText);
    }
    (void)ParseWholeNumber(fieldText);
    (void)ParseTrimmedNumber(fieldText);
    for (const QStringList* items : {&ChannelItems(), &SceneChannelItems(), &EnableItems(), &PadAssignItems(),
                                     &BehaviorItems(), &VelocityCurveItems(), &DisplayModeItems(),
                                     &ControlListItems()}) {
        (void)ItemText(*items, record.SceneMIDICh);
        (void)ItemText(*items, record.PianoKeyCh);
        (void)ItemText(*items, record.KeyVelocityCurve);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    // Input: one byte (bits 0-5 the length of the editor field's text, up to 32 bytes; bit 6
    // whether the image is unpacked; bit 7 the note list of scenes 1 and 3), the text, the
    // scene set, then the image.
    const std::uint8_t flags = size > 0 ? data[0] : 0;
    const bool unpackImage = (flags & 0x40) != 0;
    const bool shortList = (flags & 0x80) != 0;
    const std::size_t textSize = size > 0 ? std::min<std::size_t>((flags & 0x3F) % 33, size - 1) : 0;
    const QString fieldText = size > 0 ? QString::fromLatin1(reinterpret_cast<const char*>(data + 1),
                                                             static_cast<qsizetype>(textSize))
                                       : QString();
    const std::size_t start = size > 0 ? 1 + textSize : 0;
    std::vector<std::uint8_t> rest(data + start, data + size);

    SceneSet scenes;
    if (rest.size() >= kSceneSetSize) {
        scenes.fromBytes(rest.data());
        rest.erase(rest.begin(), rest.begin() + kSceneSetSize);
    } else {
        ApplyDefaults(BuiltInParameterFiles().defaults, scenes);
    }
    if (!unpackImage) {
        for (int number = 1; number <= kSceneCount; ++number)
            showEverything(scenes.scene(number), fieldText, shortList == (number % 2 == 1));
        return 0;
    }

    // The image that follows (zeros where the input ends) as the controller would deliver it.
    rest.resize(kDeviceSceneImageSize, 0);
    const SceneSet before = scenes;
    check(UnpackSceneImage(rest.data(), scenes) == kDeviceSceneImageSize);
    std::vector<std::uint8_t> packed(kDeviceSceneImageSize);
    check(PackSceneImage(scenes, packed.data()) == kDeviceSceneImageSize);
    check(packed == rest);
    for (int number = 1; number <= kSceneCount; ++number) {
        const SceneRecord& record = scenes.scene(number);
        // Padding is never touched by the image; the name is always 12 bytes long.
        check(std::memcmp(record.Padding, before.scene(number).Padding, sizeof record.Padding) == 0);
        check(record.SceneNameLength == kSceneNameCapacity);
        showEverything(record, fieldText, shortList == (number % 2 == 1));
    }
    return 0;
}
