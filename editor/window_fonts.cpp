// Registering the bundled fonts from the resources (stored uncompressed: no copy, no inflate).
#include "editor/window_fonts.h"

#include <QByteArray>
#include <QFont>
#include <QFontDatabase>
#include <QResource>
#include <QtGlobal>

#include <mutex>
#include <thread>

#if defined(LUMO_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>
#endif

// The fonts are compiled into the static editor library, whose resource initialiser the
// linker would drop unless something refers to it.
static void initFontResources()
{
    Q_INIT_RESOURCE(fonts);
}

namespace lumo {

namespace {
// Started before any other thread exists; joined by the one AddWindowFonts that runs.
std::thread g_fontConfiguration;
} // namespace

void StartFontConfiguration()
{
#if defined(LUMO_HAVE_FONTCONFIG)
    g_fontConfiguration = std::thread([] {
        // Only on a core that is idle otherwise: the connection to the window system must
        // not wait for it.
        const sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        FcInit();
    });
#endif
}

void AddWindowFonts()
{
    static std::once_flag added;
    std::call_once(added, [] {
#if defined(LUMO_HAVE_FONTCONFIG)
        // Needed now: the load goes on at normal priority, and no second load starts beside it.
        if (g_fontConfiguration.joinable()) {
            const sched_param normal{};
            pthread_setschedparam(g_fontConfiguration.native_handle(), SCHED_OTHER, &normal);
            g_fontConfiguration.join();
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
