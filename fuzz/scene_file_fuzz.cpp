// Fuzzes the scene-file loader with arbitrary file contents. A file of fewer than 3,536 bytes
// must fail with "Read beyond end of file." and leave the scenes untouched; a longer one loads
// its first 3,536 bytes, and saving and loading them again gives the same bytes.
#include "scene/scene_file.h"
#include "scene/scene_record.h"

#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

// One folder per process, on a tmpfs when there is one: the save flushes every file.
const std::string& workFolder()
{
    static const std::string folder = [] {
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/lumo-fuzz-XXXXXX");
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    static const bool cleanUpAtExit = [] {
        std::atexit([] {
            for (const char* name : {"/input.lumo", "/output.lumo", "/output.BAK"}) ::unlink((folder + name).c_str());
            ::rmdir(folder.c_str());
        });
        return true;
    }();
    (void)cleanUpAtExit;
    return folder;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) std::abort();
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0) std::abort();
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    ::close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const std::string input = workFolder() + "/input.lumo";
    writeFile(input, data, size);

    SceneSet scenes;
    SetSceneName(scenes.scene(2), "BEFORE");
    const auto before = scenes.toBytes();
    const FileResult loaded = LoadSceneFile(QString::fromStdString(input), scenes);
    if (size < kSceneSetSize) {
        check(loaded.error == FileError::ReadBeyondEnd);
        check(FileErrorText(loaded) == QStringLiteral("Read beyond end of file."));
        check(scenes.toBytes() == before);
        return 0;
    }
    check(loaded.ok());
    const auto bytes = scenes.toBytes();
    check(std::memcmp(bytes.data(), data, kSceneSetSize) == 0);

    // Saved twice, so the second save also makes the backup of the first.
    const QString output = QString::fromStdString(workFolder() + "/output.lumo");
    check(SaveSceneFile(output, scenes).ok());
    check(SaveSceneFile(output, scenes).ok());
    SceneSet again;
    check(LoadSceneFile(output, again).ok());
    check(again == scenes);
    check(QFile(BackupPathOf(output)).size() == static_cast<qint64>(kSceneSetSize));
    return 0;
}
