// Texts of the overlay, and the number rules of the parameter panels.
#include "scene/display_texts.h"

#include "scene/control_index.h"
#include "scene/scene_settings.h"

#include <QCoreApplication>

namespace lumo {

namespace {

const QString kNone = QStringLiteral("---");
const QChar kCr = QChar(13);

// Qt's trimmed() removes white space only; the field reading also drops control characters
// at both ends (anything up to and including the blank).
QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32) ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32) --end;
    return text.mid(begin, end - begin);
}

std::optional<int> noteLine(const NoteNames& notes, const QString& text)
{
    return notes.number(text);
}

// The head line of a number on a label, by display mode; modes without a number have none.
const char* const kNumberHeads[kDisplayModeCount] = {
    "", "", QT_TRANSLATE_NOOP("DisplayTexts", "CC#"), QT_TRANSLATE_NOOP("DisplayTexts", "L/L"),
    QT_TRANSLATE_NOOP("DisplayTexts", "U/R"), "", QT_TRANSLATE_NOOP("DisplayTexts", "OFF"),
    QT_TRANSLATE_NOOP("DisplayTexts", "ON")};

// The setting of a kind that a label shows in a display mode; nullptr: the label shows "---".
const SceneSetting* settingShownIn(ControlKind kind, int mode)
{
    for (const SceneSetting& setting : SettingsOfKind(kind))
        if (setting.overlayMode == mode) return &setting;
    return nullptr;
}

// Whether a label shows its setting, by the control's first setting (its enable or
// assignment): knobs, sliders and keys only while on; a pad its channel and assignment
// always, its number for "Control Change" and "Note", its behaviour while assigned, and its
// ON and OFF values only for "Control Change".
bool labelShows(ControlKind kind, int mode, std::int32_t assignment)
{
    if (kind != ControlKind::Pad) return assignment != 0;
    switch (mode) {
    case 0:
    case 1: return true;
    case 2: return assignment == 1 || assignment == 2;
    case 5: return assignment != 0;
    default: return assignment == 1;
    }
}

} // namespace

QString ItemText(const QStringList& items, std::int64_t index)
{
    if (index < 0 || index >= items.size()) return kNone;
    return items.at(static_cast<qsizetype>(index));
}

QString SceneCaption(const SceneRecord& record)
{
    const std::string name = VisibleSceneName(record);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<QString> OverlayText(const SceneRecord& record, int controlIndex, int mode, const NoteNames& notes)
{
    const ControlKind kind = KindOfControl(controlIndex);
    const int e = ElementOfControl(controlIndex);
    if (kind == ControlKind::Group) {
        const SceneSetting& channel = Setting(SettingId::MIDICh);
        const std::optional<QString> text = ShownText(channel, SettingValue(record, channel, e));
        return text ? TranslatedDisplayText(*text) : kNone;
    }
    if (kind == ControlKind::Common || mode < 0 || mode >= kDisplayModeCount) return std::nullopt;

    const std::int32_t assignment = SettingValue(record, SettingsOfKind(kind)[0], e);
    const SceneSetting* shown = settingShownIn(kind, mode);
    if (!shown || !labelShows(kind, mode, assignment)) return kNone;
    const std::int32_t value = SettingValue(record, *shown, e);
    if (shown->shownAs == ShownAs::Number) {
        if (kind == ControlKind::Pad && assignment == 2) {
            const auto name = notes.name(value);
            return name ? TranslatedDisplayText(QStringLiteral("Note")) + kCr + *name : kNone;
        }
        return TranslatedDisplayText(QString::fromUtf8(kNumberHeads[mode])) + kCr + QString::number(ShownNumber(*shown, value));
    }
    if (kind == ControlKind::Key && mode == 1) return TranslatedDisplayText(QString::fromUtf8(QT_TRANSLATE_NOOP("DisplayTexts", "CC")));
    std::optional<QString> item = ShownText(*shown, value);
    if (!item) return kNone;
    item = TranslatedDisplayText(*item);
    // "Button Behavior" shortens "Momentary" to fit: "Moment" on a pad, "Mome" on a key.
    if (mode == 5) return item->left(kind == ControlKind::Pad ? 6 : 4);
    return *item;
}

std::array<std::optional<QString>, kOverlayLabelCount> OverlayTexts(const SceneRecord& record, int mode,
                                                                    const NoteNames& notes)
{
    std::array<std::optional<QString>, kOverlayLabelCount> texts;
    for (int k = 0; k < kOverlayLabelCount; ++k)
        texts[k] = OverlayText(record, k + 1, mode, notes);
    return texts;
}

std::optional<int> ParseWholeNumber(const QString& text)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == u'+' || text.at(pos) == u'-')) {
        negative = text.at(pos) == u'-';
        ++pos;
    }
    if (pos == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> ParseTrimmedNumber(const QString& text)
{
    return ParseWholeNumber(trimControls(text));
}

int ClampInt(std::int64_t value, int low, int high)
{
    if (value < low) return low;
    if (value > high) return high;
    return static_cast<int>(value);
}

std::optional<QString> PadNumberDisplay(std::int64_t number, int assignment, const NoteNames& notes)
{
    if (assignment == 1) return QString::number(number);
    if (assignment == 2) {
        const auto name = number >= 0 && number <= INT32_MAX ? notes.name(static_cast<int>(number)) : std::nullopt;
        return name ? *name : QString::number(number);
    }
    return std::nullopt;
}

std::optional<QString> PadSwitchText(std::int64_t number, int assignment, const NoteNames& notes)
{
    if (assignment == 2) return PadNumberDisplay(std::min<std::int64_t>(number, kPadNoteSwitchLimit), 2, notes);
    return PadNumberDisplay(number, assignment, notes);
}

std::optional<int> ReadPadNumber(const QString& text, int assignment, const NoteNames& notes)
{
    const QString trimmed = trimControls(text);
    if (assignment == 1) return ParseWholeNumber(trimmed).value_or(0);
    if (assignment == 2) {
        if (const auto line = noteLine(notes, trimmed)) return *line;
        // A plain number carries no sign, so it is never negative.
        const bool signed_ = trimmed.startsWith(u'+') || trimmed.startsWith(u'-');
        const auto number = signed_ ? std::nullopt : ParseWholeNumber(trimmed);
        return number && *number <= kMaxNoteNumber ? *number : 0;
    }
    return std::nullopt;
}

std::optional<int> ReadShownPadNumber(const QString& text, int assignment, std::int32_t stored,
                                      const NoteNames& notes)
{
    const QString trimmed = trimControls(text);
    if (assignment == 2 && !noteLine(notes, trimmed) && trimmed == QString::number(stored)) return stored;
    return ReadPadNumber(text, assignment, notes);
}

QString StepPadNumber(const QString& text, int assignment, int step, const NoteNames& notes)
{
    if (assignment == 1)
        return QString::number(ClampInt(std::int64_t{ParseWholeNumber(text).value_or(0)} + step, 0, 127));
    if (assignment == 2) {
        const int n = ClampInt(std::int64_t{noteLine(notes, text).value_or(-1)} + step, 0, kPadNoteStepLimit);
        return notes.name(n).value_or(QString());
    }
    return QString();
}

} // namespace lumo
