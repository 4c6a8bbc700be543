// Writing the scenes as JSON and reading them back with every field checked. The text is
// written by hand so that the fields keep the table's order and each stands on one line.
#include "scene/scene_json.h"

#include "scene/display_texts.h"
#include "scene/scene_settings.h"
#include "scene/setting_access.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace lumo {

namespace {

const QString kScenes = QStringLiteral("scenes");
const QString kScene = QStringLiteral("scene");
// The bytes of the record that hold no setting of their own, after the settings.
const QString kNameLength = QStringLiteral("SceneNameLength");
const QString kNameChars = QStringLiteral("SceneNameChars");
const QString kPadding = QStringLiteral("Padding");

// ---- Writing

void appendString(QByteArray& out, const QString& text)
{
    out += '"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c.unicode());
        } else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)) {
            // Control characters, C1 included, as escapes so that the text shows every byte.
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toLatin1();
        } else {
            out += QString(c).toUtf8();
        }
    }
    out += '"';
}

template <typename Number>
void appendArray(QByteArray& out, const Number* values, int count)
{
    out += '[';
    for (int i = 0; i < count; ++i) {
        if (i > 0) out += ", ";
        out += QByteArray::number(values[i]);
    }
    out += ']';
}

void appendScene(QByteArray& out, int number, const SceneRecord& record)
{
    out += "    {\n      \"scene\": " + QByteArray::number(number);
    const auto field = [&out](const QString& name) { out += ",\n      \"" + name.toLatin1() + "\": "; };
    for (const SceneSetting& setting : SceneSettings()) {
        field(FieldName(setting));
        if (setting.shownAs == ShownAs::Name) {
            appendString(out, SceneCaption(record));
        } else if (setting.count == 1) {
            out += QByteArray::number(SettingValue(record, setting, 0));
        } else {
            std::vector<std::int32_t> values(static_cast<std::size_t>(setting.count));
            for (int e = 0; e < setting.count; ++e) values[static_cast<std::size_t>(e)] = SettingValue(record, setting, e);
            appendArray(out, values.data(), setting.count);
        }
    }
    field(kNameLength);
    out += QByteArray::number(record.SceneNameLength);
    field(kNameChars);
    appendArray(out, record.SceneNameChars, kSceneNameCapacity);
    field(kPadding);
    appendArray(out, record.Padding, static_cast<int>(sizeof record.Padding));
    out += "\n    }";
}

// ---- Reading

QString lineAndColumn(const QByteArray& json, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, json.size());
    const QByteArray before = json.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, column %2")
        .arg(before.count('\n') + 1)
        .arg(QString::fromUtf8(before.mid(lineStart)).size() + 1);
}

// Qt's parser takes more than JSON: raw control characters and any escape in a text, and
// numbers such as "1." or "01"; and JSON allows a name twice in one object, where the parser
// keeps the last, so a pasted line would silently win or lose. The text, which the parser has
// taken already, is scanned for these; only texts, numbers and nesting need following.
QString nonJsonPlace(const QByteArray& json)
{
    static const QRegularExpression jsonNumber(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?$"));
    struct Level {
        bool isObject;
        bool expectsName;
        QSet<QString> names;
    };
    std::vector<Level> levels;
    const auto at = [&json](qsizetype offset, const QString& problem) { return lineAndColumn(json, offset) + QStringLiteral(": ") + problem; };
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (c == '"') {
            qsizetype end = i + 1;
            for (; end < json.size() && json.at(end) != '"'; ++end) {
                const unsigned char b = static_cast<unsigned char>(json.at(end));
                if (b < 0x20) return at(end, QStringLiteral("a control character in a text must be written as \\u%1").arg(b, 4, 16, QLatin1Char('0')));
                if (b != '\\') continue;
                const char escape = end + 1 < json.size() ? json.at(end + 1) : '\0';
                if (escape == 'u') {
                    const QByteArray hex = json.mid(end + 2, 4);
                    bool isHex = hex.size() == 4;
                    for (const char h : hex) isHex = isHex && std::isxdigit(static_cast<unsigned char>(h));
                    if (!isHex) return at(end, QStringLiteral("\\u needs four hexadecimal digits"));
                } else if (!std::strchr("\"\\/bfnrt", escape) || escape == '\0') {
                    return at(end, QStringLiteral("\"\\%1\" is no JSON escape").arg(QString::fromLatin1(&escape, 1)));
                }
                ++end;
            }
            if (!levels.empty() && levels.back().expectsName) {
                const QByteArray quoted = '[' + json.mid(i, end + 1 - i) + ']';
                const QString name = QJsonDocument::fromJson(quoted).array().at(0).toString();
                if (levels.back().names.contains(name))
                    return at(i, QStringLiteral("\"%1\" stands twice in one object").arg(name));
                levels.back().names.insert(name);
                levels.back().expectsName = false;
            }
            i = end;
        } else if (c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9')) {
            qsizetype end = i;
            while (end < json.size() && std::strchr("+-.eE0123456789", json.at(end)) && json.at(end) != '\0') ++end;
            const QString number = QString::fromLatin1(json.mid(i, end - i));
            if (!jsonNumber.match(number).hasMatch()) return at(i, QStringLiteral("\"%1\" is no JSON number").arg(number));
            i = end - 1;
        } else if (c == '{' || c == '[') {
            levels.push_back({c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
        } else if (c == ',' && !levels.empty() && levels.back().isObject) {
            levels.back().expectsName = true;
        }
    }
    return QString();
}

QString kindOfValue(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String: return QStringLiteral("a text");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Bool: return QStringLiteral("true or false");
    case QJsonValue::Double: return QStringLiteral("a number");
    default: return QStringLiteral("null");
    }
}

QString numberText(const QJsonValue& value)
{
    const double d = value.toDouble();
    if (std::abs(d) < 9e18 && d == std::trunc(d)) return QString::number(value.toInteger());
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

// Builds one scene from its object, stopping at the first fault, which `read` returns.
class SceneReader {
public:
    SceneReader(const QJsonObject& object, int number, SceneRecord& record)
        : m_object(object), m_number(number), m_record(record)
    {}

    QString read()
    {
        if (!checkFieldNames()) return m_error;
        QString name;
        for (const SceneSetting& setting : SceneSettings()) {
            const QJsonValue value = m_object.value(FieldName(setting));
            if (setting.shownAs != ShownAs::Name) {
                if (!readNumbers(FieldName(setting), value, setting.count, &setting)) return m_error;
            } else if (value.isString()) {
                name = value.toString();
            } else {
                fail(FieldName(setting), QStringLiteral("a text is needed, not %1").arg(kindOfValue(value)));
                return m_error;
            }
        }
        if (!readNumbers(kNameLength, m_object.value(kNameLength), 1, nullptr)
            || !readNumbers(kNameChars, m_object.value(kNameChars), kSceneNameCapacity, nullptr)
            || !readNumbers(kPadding, m_object.value(kPadding), static_cast<int>(sizeof m_record.Padding), nullptr))
            return m_error;
        // The name area's bytes stand unless the readable name was changed.
        if (name != SceneCaption(m_record)) {
            QString problem;
            const std::optional<QByteArray> bytes = SceneNameBytes(name, problem);
            if (!bytes) fail(QStringLiteral("SceneName"), problem);
            else SetSceneName(m_record, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        }
        return m_error;
    }

private:
    bool fail(const QString& where, const QString& problem)
    {
        m_error = QStringLiteral("scene %1, %2: %3").arg(m_number).arg(where, problem);
        return false;
    }

    bool checkFieldNames()
    {
        QStringList known{kScene};
        for (const SceneSetting& setting : SceneSettings()) known.append(FieldName(setting));
        known << kNameLength << kNameChars << kPadding;
        for (const QString& name : m_object.keys())
            if (!known.contains(name)) return fail(QStringLiteral("\"%1\"").arg(name), QStringLiteral("unknown field"));
        for (const QString& name : known)
            if (!m_object.contains(name)) return fail(QStringLiteral("\"%1\"").arg(name), QStringLiteral("missing field"));
        return true;
    }

    // `count` numbers (an array unless 1) into the setting's elements, or with no setting into
    // the bytes of the name area or padding.
    bool readNumbers(const QString& field, const QJsonValue& value, int count, const SceneSetting* setting)
    {
        QJsonArray elements{value};
        if (count > 1) {
            if (!value.isArray())
                return fail(field, QStringLiteral("an array of %1 numbers is needed, not %2").arg(count).arg(kindOfValue(value)));
            elements = value.toArray();
            if (elements.size() != count)
                return fail(field, QStringLiteral("%1 elements, %2 are needed").arg(elements.size()).arg(count));
        }
        for (int e = 0; e < count; ++e) {
            QString where = field;
            if (count > 1 && setting)
                where = ControlListItems().at(FirstIndexOfKind(setting->kind) + e) + QStringLiteral(", ") + field;
            else if (count > 1)
                where = field + QStringLiteral(", byte %1 of %2").arg(e + 1).arg(count);
            const std::optional<std::int64_t> number = wholeNumber(elements.at(e), setting != nullptr, where);
            if (!number) return false;
            if (setting) SetSettingValue(m_record, *setting, e, static_cast<std::int32_t>(*number));
            else byteOf(field, e) = static_cast<std::uint8_t>(*number);
        }
        return true;
    }

    // A signed 32-bit number for a setting, an unsigned 8-bit one for a byte.
    std::optional<std::int64_t> wholeNumber(const QJsonValue& value, bool is32Bits, const QString& where)
    {
        if (!value.isDouble()) {
            fail(where, QStringLiteral("a number is needed, not %1").arg(kindOfValue(value)));
            return std::nullopt;
        }
        const double d = value.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d)) {
            fail(where, QStringLiteral("%1 is no whole number").arg(numberText(value)));
            return std::nullopt;
        }
        const std::int64_t low = is32Bits ? std::numeric_limits<std::int32_t>::min() : 0;
        const std::int64_t high = is32Bits ? std::numeric_limits<std::int32_t>::max() : 255;
        if (d < static_cast<double>(low) || d > static_cast<double>(high)) {
            fail(where, QStringLiteral("%1 is beyond %2 bits (%3 .. %4)")
                            .arg(numberText(value)).arg(is32Bits ? 32 : 8).arg(low).arg(high));
            return std::nullopt;
        }
        return static_cast<std::int64_t>(d);
    }

    std::uint8_t& byteOf(const QString& field, int index)
    {
        if (field == kNameLength) return m_record.SceneNameLength;
        return field == kNameChars ? m_record.SceneNameChars[index] : m_record.Padding[index];
    }

    const QJsonObject& m_object;
    int m_number;
    SceneRecord& m_record;
    QString m_error;
};

} // namespace

QByteArray ScenesToJson(const SceneSet& scenes)
{
    QByteArray out = "{\n  \"scenes\": [\n";
    for (int n = 1; n <= kSceneCount; ++n) {
        appendScene(out, n, scenes.scene(n));
        out += n < kSceneCount ? ",\n" : "\n";
    }
    out += "  ]\n}\n";
    return out;
}

JsonScenes ScenesFromJson(const QByteArray& json)
{
    JsonScenes result;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error = lineAndColumn(json, parseError.offset) + QStringLiteral(": ") + parseError.errorString();
        return result;
    }
    result.error = nonJsonPlace(json);
    if (!result.ok()) return result;

    const auto fail = [&result](const QString& error) {
        result.error = error;
        return result;
    };
    if (!document.isObject()) return fail(QStringLiteral("the text is no JSON object"));
    const QJsonObject root = document.object();
    for (const QString& name : root.keys())
        if (name != kScenes) return fail(QStringLiteral("\"%1\": unknown field").arg(name));
    if (!root.contains(kScenes)) return fail(QStringLiteral("\"scenes\": missing field"));
    const QJsonValue scenes = root.value(kScenes);
    if (!scenes.isArray())
        return fail(QStringLiteral("\"scenes\": an array of the 4 scenes is needed, not %1").arg(kindOfValue(scenes)));
    const QJsonArray list = scenes.toArray();
    if (list.size() != kSceneCount)
        return fail(QStringLiteral("\"scenes\": %1 elements, %2 are needed").arg(list.size()).arg(kSceneCount));

    bool seen[kSceneCount] = {};
    for (int i = 0; i < kSceneCount; ++i) {
        const QString element = QStringLiteral("\"scenes\", element %1: ").arg(i + 1);
        if (!list.at(i).isObject()) return fail(element + QStringLiteral("an object is needed, not %1").arg(kindOfValue(list.at(i))));
        const QJsonObject object = list.at(i).toObject();
        const QJsonValue number = object.value(kScene);
        const int scene = number.toInt();
        if (!number.isDouble() || number.toDouble() != scene || scene < 1 || scene > kSceneCount)
            return fail(element + QStringLiteral("\"scene\" must be 1, 2, 3 or 4"));
        if (seen[scene - 1]) return fail(element + QStringLiteral("scene %1 stands twice").arg(scene));
        seen[scene - 1] = true;
        result.error = SceneReader(object, scene, result.scenes.scene(scene)).read();
        if (!result.ok()) return result;
    }
    return result;
}

} // namespace lumo
