// Registering the bundled fonts from the resources (stored uncompressed: no copy, no inflate).
#include "editor/window_fonts.h"

#include <QByteArray>
#include <QFont>
#include <QFontDatabase>
#include <QResource>
#include <QtGlobal>

#include <mutex>
#include <thread>

// Linux only: the load's thread runs at the lowest normal priority until it is needed.
#if defined(LUMO_HAVE_FONTCONFIG) && defined(__linux__)
#define LUMO_EARLY_FONT_CONFIGURATION
#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#endif

// The fonts are compiled into the static editor library, whose resource initialiser the
// linker would drop unless something refers to it.
static void initFontResources()
{
    Q_INIT_RESOURCE(fonts);
}

namespace lumo {

namespace {
constexpr int kLowestNormalPriority = 19;

// Started before any other thread exists; joined by the one AddWindowFonts that runs, or at
// exit by a run that ended before the window was made.
struct FontConfigurationLoad {
    std::thread thread;
    std::atomic<pid_t> id{0};
    ~FontConfigurationLoad()
    {
        if (thread.joinable())
            thread.join();
    }
} g_fontConfiguration;
} // namespace

void StartFontConfiguration()
{
#if defined(LUMO_EARLY_FONT_CONFIGURATION)
    g_fontConfiguration.thread = std::thread([] {
        // At the lowest normal priority, so that the connection to the window system does
        // not wait for it. Not at idle priority: the window then mapped about 3 % later, and
        // a user may not raise an idle thread again (below), which on a busy machine might
        // then hardly run.
        g_fontConfiguration.id = gettid();
        setpriority(PRIO_PROCESS, g_fontConfiguration.id, kLowestNormalPriority);
        FcInit();
    });
#endif
}

void AddWindowFonts()
{
    static std::once_flag added;
    std::call_once(added, [] {
#if defined(LUMO_EARLY_FONT_CONFIGURATION)
        // Needed now: the load goes on at normal priority where the user may raise it again
        // (root, or a nice limit that allows it), and no second load starts beside it.
        if (std::thread& load = g_fontConfiguration.thread; load.joinable()) {
            if (const pid_t id = g_fontConfiguration.id; id > 0)
                setpriority(PRIO_PROCESS, id, 0);
            load.join();
        }
#endif
        initFontResources();
        // The window uses Arial regular and Times New Roman bold only.
        for (const char* name : {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSerif-Bold.ttf"}) {
            const QResource font(QString::fromLatin1(name));
            if (!font.isValid() || font.compressionAlgorithm() != QResource::NoCompression
                || QFontDatabase::addApplicationFontFromData(
                       QByteArray::fromRawData(reinterpret_cast<const char*>(font.data()), qsizetype(font.size())))
                    < 0)
                qWarning("The window font %s could not be registered; texts may be clipped.", name);
        }
    });
}

void SubstituteWindowFonts()
{
    // Where the system has no Arial or Times New Roman (most Linux desktops), the bundled
    // fonts stand for them; where it has them, their metrics are the same.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

void RegisterWindowFonts()
{
    AddWindowFonts();
    SubstituteWindowFonts();
}

} // namespace lumo
