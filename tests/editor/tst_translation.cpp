// The window's texts go through Qt's translation under the contexts that lupdate wrote into
// translations/vorel-lumo.ts: with a translator of exactly those texts installed, menus,
// captions, lists, overlay and message boxes all change. The English texts that `lumo`
// prints and reads stay as they are.
#include "window_test_support.h"
#include "window_user.h"

#include "app/transfer_commands.h"
#include "scene/display_texts.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace lumo;
using namespace lumo::window_testing;

namespace {

// Translates the (context, source) pairs of the .ts file to "<source>", as a real translation
// built from it would, and leaves every other text as it is.
class MarkingTranslator : public QTranslator {
public:
    bool load(const QString& tsPath)
    {
        QFile file(tsPath);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("source"))
                m_known.insert(context + QLatin1Char('\n') + xml.readElementText());
        }
        return !xml.hasError() && !m_known.isEmpty();
    }

    QString translate(const char* context, const char* source, const char*, int) const override
    {
        const QString text = QString::fromUtf8(source);
        if (!m_known.contains(QString::fromUtf8(context) + QLatin1Char('\n') + text))
            return {};
        return QLatin1Char('<') + text + QLatin1Char('>');
    }

    bool isEmpty() const override { return false; }

private:
    QSet<QString> m_known;
};

} // namespace

class TestTranslation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_translator.load(QStringLiteral(LUMO_ASSETS_DIR "/../translations/vorel-lumo.ts")));
        QCoreApplication::installTranslator(&m_translator);
    }

    void windowShowsTranslatedTexts()
    {
        SimulatedPorts none;
        auto window = MakeWindow(&none);

        QStringList menus;
        for (QAction* menu : window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"<File>", "<Edit>", "<Communication>", "<Help>"}));
        QCOMPARE(window->findChild<QAction*>("Saveas1")->text(), QStringLiteral("<Save as>"));

        auto* list = window->findChild<QListWidget*>("ControlList");
        QCOMPARE(list->item(0)->text(), QStringLiteral("<Common>"));
        QCOMPARE(list->item(5)->text(), QStringLiteral("<Konb->1"));
        QCOMPARE(list->item(45)->text(), QStringLiteral("<Key->25"));
        QCOMPARE(window->findChild<QComboBox*>("SelDisp")->itemText(2), QStringLiteral("<CC/Note Number>"));
        QCOMPARE(window->findChild<QComboBox*>("SelPianoKeyCh")->itemText(16), QStringLiteral("<Global>"));
        QCOMPARE(window->findChild<QComboBox*>("SelPianoKeyCh")->itemText(0), QStringLiteral("1"));

        QStringList captions;
        for (QLabel* label : window->findChild<QWidget*>("PanelCommon")->findChildren<QLabel*>())
            captions << label->text();
        QVERIFY2(captions.contains("<Scene Name>") && captions.contains("<Key Transpose>"), qPrintable(captions.join('|')));
        // Knob 1 in "CC/Note Number": the number's head line.
        QCOMPARE(window->findChild<QLabel*>("Label35")->text(), QStringLiteral("<CC#>\n20"));

        ModalScript script;
        script.press("<OK>");
        triggerCommand(window.get(), window->findChild<QAction*>("SendSceneData1"));
        QTRY_VERIFY(script.finished());
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
        QCOMPARE(script.boxes.value(0).title, QStringLiteral("<Warning>"));
        QCOMPARE(script.boxes.value(0).text, QStringLiteral("<Vorel Lumo Device is not exist.>\n(<no controller among 0 port pairs>)"));
    }

    void englishTextsStayForLumo()
    {
        // What `lumo` prints and takes as arguments does not change with a translator.
        QCOMPARE(ControlListItems().at(5), QStringLiteral("Konb-1"));
        QCOMPARE(ChannelItems().at(16), QStringLiteral("Global"));
        QCOMPARE(transfer_text::kDeviceNotFound, QStringLiteral("Vorel Lumo Device is not exist."));
    }

private:
    MarkingTranslator m_translator;
};

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
