// Helpers of the scene tests: scripted answers to the user's questions and file access.
#pragma once

#include "scene/scene_record.h"
#include "app/user_answers.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <deque>
#include <optional>

namespace lumo::testing_support {

// Answers from queues; an empty queue means Cancel. Every question and error is recorded.
class ScriptedUser : public UserAnswers {
public:
    Answer ask(MessageKind kind, const QString& text) override
    {
        questions.append(text);
        askedKinds.push_back(kind);
        if (answers.empty()) return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void tell(MessageKind, const QString& text) override { told.append(text); }
    void showError(const QString& text) override { errors.append(text); }
    std::optional<QString> chooseOpenFile() override { return next(openPaths); }
    std::optional<QString> chooseSaveFile(const QString& proposedName) override
    {
        proposedNames.append(proposedName);
        return next(savePaths);
    }

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> openPaths;  // nullopt = dialog cancelled
    std::deque<std::optional<QString>> savePaths;
    QStringList questions;
    std::deque<MessageKind> askedKinds;
    QStringList told;
    QStringList errors;
    QStringList proposedNames;

private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& queue)
    {
        if (queue.empty()) return std::nullopt;
        const std::optional<QString> value = queue.front();
        queue.pop_front();
        return value;
    }
};

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray BytesOf(const SceneSet& scenes)
{
    const auto bytes = scenes.toBytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// A Scene Set whose every byte differs from its position's neighbours: byte i is (i * 7 + seed).
inline SceneSet PatternedScenes(int seed)
{
    QByteArray bytes(static_cast<qsizetype>(kSceneSetSize), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + seed);
    SceneSet scenes;
    scenes.fromBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()));
    return scenes;
}

// Little-endian 32-bit integer at `offset`.
inline std::int32_t Int32At(const QByteArray& bytes, qsizetype offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return static_cast<std::int32_t>(value);
}

} // namespace lumo::testing_support
