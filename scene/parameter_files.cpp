// The default-parameter list, the note-name list, ApplyDefaults and the loading of both files.
#include "scene/parameter_files.h"

#include "scene/file_log.h"
#include "scene/parameter_locations.h"
#include "scene/scene_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <limits>

// Resources of a static library must be registered by hand, and only outside a namespace.
static void initAssetResources()
{
    Q_INIT_RESOURCE(assets);
}

namespace lumo {

namespace {

constexpr char kDefaultsFileName[] = "DefPara.ini";
constexpr char kNotesFileName[] = "NotePara.ini";

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Keys compare without regard to case of the letters a..z only; other bytes must be equal.
bool keysEqual(const char* a, qsizetype aLength, const QByteArray& b)
{
    if (aLength != b.size()) return false;
    for (qsizetype i = 0; i < aLength; ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    }
    return true;
}

// Whole decimal number: leading blanks, optional sign, at least one digit, nothing after,
// within 32 bits.
std::optional<int> parseInteger(const QByteArray& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

QList<QByteArray> SplitLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.append(text.mid(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

DefaultParameters::DefaultParameters(const QByteArray& fileContents)
    : m_lines(SplitLines(fileContents))
{
}

QByteArray DefaultParameters::value(const QByteArray& key) const
{
    for (const QByteArray& line : m_lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        if (keysEqual(line.constData(), equals, key)) return line.mid(equals + 1);
    }
    return {};
}

int DefaultParameters::intValue(const QByteArray& key, int fallback) const
{
    return parseInteger(value(key)).value_or(fallback);
}

int DefaultParameters::trimmedIntValue(const QByteArray& key, int fallback) const
{
    // Blanks and control characters are the bytes 0..32.
    QByteArray text = value(key);
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return parseInteger(text.mid(begin, end - begin)).value_or(fallback);
}

NoteNames::NoteNames(const QByteArray& fileContents)
{
    for (const QByteArray& line : SplitLines(fileContents)) m_names.append(QString::fromLatin1(line));
}

std::optional<QString> NoteNames::name(int number) const
{
    if (number < 0 || number >= m_names.size()) return std::nullopt;
    return m_names[number];
}

std::optional<int> NoteNames::number(const QString& name) const
{
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    }
    return std::nullopt;
}

void ApplyDefaults(const DefaultParameters& defaults, SceneSet& scenes)
{
    for (const SceneSetting& setting : SceneSettings()) {
        if (setting.shownAs == ShownAs::Name) {
            for (int n = 1; n <= kSceneCount; ++n) {
                QByteArray name = defaults.value(DefaultKey(setting, n, 0));
                for (char& c : name) c = asciiUpper(c);
                SetSceneName(scenes.scene(n), std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
            }
            continue;
        }
        // A key without number sets every element, a numbered key its own; the value is the
        // same in all four scenes. The bend speed's default is the shown speed.
        for (int e = 0; e < setting.count; ++e) {
            const int value = defaults.intValue(DefaultKey(setting, 1, e), setting.defaultFallback);
            const std::int32_t stored = setting.defaultIsShown ? StoredNumber(setting, value) : value;
            for (int n = 1; n <= kSceneCount; ++n) SetSettingValue(scenes.scene(n), setting, e, stored);
        }
    }
}

namespace {

QByteArray readResource(const char* fileName)
{
    QFile file(QStringLiteral(":/assets/") + QLatin1String(fileName));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Reads one parameter file whole from the first of `folders` that has it (a file that none
// has is reported under the first folder); on failure fills `error` with the box text.
std::optional<QByteArray> readParameterFile(const QStringList& folders, const char* fileName, QString& error)
{
    const QString name = QLatin1String(fileName);
    const QString found = FindParameterFile(folders, name).value_or(QDir(folders.constFirst()).absoluteFilePath(name));
    const QString path = QDir::toNativeSeparators(found);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("ParameterFiles", "Cannot open file \"%1\". %2").arg(path, file.errorString());
        qCDebug(fileLog) << "parameter file" << path << "not read:" << file.errorString() << "(searched" << folders
                         << ")";
        return std::nullopt;
    }
    qCDebug(fileLog) << "parameter file" << path;
    return file.readAll();
}

} // namespace

ParameterFiles BuiltInParameterFiles()
{
    initAssetResources();
    ParameterFiles files;
    files.defaults = DefaultParameters(readResource(kDefaultsFileName));
    files.notes = NoteNames(readResource(kNotesFileName));
    return files;
}

ParameterFiles LoadParameterFiles(const QString& folder)
{
    const QStringList folders = folder.isEmpty() ? ParameterFolders() : QStringList{folder};
    ParameterFiles files;
    // Reading stops at the first file that cannot be opened; what was not read comes from
    // the built-in copies, so the window and `lumo` can go on.
    const std::optional<QByteArray> defaults = readParameterFile(folders, kDefaultsFileName, files.error);
    std::optional<QByteArray> notes;
    if (defaults) notes = readParameterFile(folders, kNotesFileName, files.error);
    const ParameterFiles builtIn = defaults && notes ? ParameterFiles{} : BuiltInParameterFiles();
    files.defaults = defaults ? DefaultParameters(*defaults) : builtIn.defaults;
    files.notes = notes ? NoteNames(*notes) : builtIn.notes;
    return files;
}

} // namespace lumo
