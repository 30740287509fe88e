// The language resources: every id the program uses has an English and a
// Russian text, ids resolve in any context, missing ids fall back to English.
#include "ezx/languageresources.h"
#include "ezx/languagetranslator.h"
#include "tests/common/ztest.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

const QString sourceDir = QStringLiteral(ZK_SOURCE_DIR);

// Resource ids written as string literals in the program's sources.
QSet<QString> idsInText(const QString& text)
{
    static const QRegularExpression literal(QStringLiteral("\"((?:TXT|FMT)_RID_[A-Z0-9_]+)\""));
    QSet<QString> ids;
    for (auto it = literal.globalMatch(text); it.hasNext();)
        ids.insert(it.next().captured(1));
    return ids;
}

// tr() calls written with a plain text instead of a resource id: such a
// text has no entry in the language resources and stays English.
QStringList plainTrCallsInText(const QString& text)
{
    static const QRegularExpression call(QStringLiteral("\\btr\\(\\s*\"(?!(?:TXT|FMT)_RID_)([^\"]*)\""));
    QStringList texts;
    for (auto it = call.globalMatch(text); it.hasNext();)
        texts << it.next().captured(1);
    return texts;
}

// The text of every source file of the program's folders.
QStringList sourceTexts()
{
    QStringList texts;
    const QStringList folders = {QStringLiteral("platform"), QStringLiteral("ezx"), QStringLiteral("core"),
                                 QStringLiteral("process"), QStringLiteral("monitor"), QStringLiteral("catalogue"),
                                 QStringLiteral("ui"), QStringLiteral("tools"), QStringLiteral("sim")};
    for (const QString& folder : folders) {
        QDirIterator it(sourceDir + QLatin1Char('/') + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                texts << QString::fromUtf8(file.readAll());
        }
    }
    return texts;
}

QSet<QString> idsInSources()
{
    QSet<QString> ids;
    for (const QString& text : sourceTexts())
        ids.unite(idsInText(text));
    return ids;
}

// id -> translation of one Linguist source; an unfinished or empty
// translation does not count.
QHash<QString, QString> entriesOfTs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression message(QStringLiteral(
                                                "<message>\\s*<source>([^<]*)</source>.*?<translation>([^<]*)</translation>\\s*</message>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QHash<QString, QString> entries;
    for (auto it = message.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(2).trimmed().isEmpty())
            entries.insert(m.captured(1), m.captured(2));
    }
    return entries;
}

QString tsPath(const QString& language)
{
    return sourceDir + QStringLiteral("/translations/ezx_") + language + QStringLiteral(".ts");
}

QString translated(const char* context, const char* id, const char* english)
{
    return QCoreApplication::translate(context, id, english);
}

// Installs a translator of one language for the length of a test.
class LanguageScope
{
public:
    explicit LanguageScope(const QString& language)
    {
        loaded = translator.loadLanguage(language);
        QCoreApplication::installTranslator(&translator);
    }
    ~LanguageScope() { QCoreApplication::removeTranslator(&translator); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

    ZLanguageTranslator translator;
    bool loaded = false;
};

}  // namespace

class LanguageResourcesTest : public QObject
{
    Q_OBJECT
private slots:
    void scannerFindsIdsInCalls()
    {
        const QSet<QString> ids = idsInText(QStringLiteral(
            "a = tr(\"TXT_RID_SOFTKEY_OK\", \"OK\");\n"
            "b = QCoreApplication::translate(\"X\", \"FMT_RID_HEADER_ABOUT_1\", \"About %1\");\n"
            "c = \"TXT_RIDDLE\"; d = tr(\"Kill\");"));
        QCOMPARE(ids, (QSet<QString>{QStringLiteral("TXT_RID_SOFTKEY_OK"), QStringLiteral("FMT_RID_HEADER_ABOUT_1")}));
    }

    void everyIdUsedHasEnglishAndRussianText()
    {
        const QHash<QString, QString> en = entriesOfTs(tsPath(QStringLiteral("en")));
        const QHash<QString, QString> ru = entriesOfTs(tsPath(QStringLiteral("ru")));
        QVERIFY2(!en.isEmpty() && !ru.isEmpty(), "translations/ezx_en.ts and ezx_ru.ts must be readable");
        QStringList missing;
        for (const QString& id : idsInSources()) {
            if (!en.contains(id))
                missing << id + QStringLiteral(" (en)");
            if (!ru.contains(id))
                missing << id + QStringLiteral(" (ru)");
        }
        missing.sort();
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("ids without text: ") + missing.join(QStringLiteral(", "))));
    }

    void everyTrCallNamesAResourceId()
    {
        QCOMPARE(plainTrCallsInText(QStringLiteral("a = tr(\"TXT_RID_SOFTKEY_OK\", \"OK\"); b = tr(\"Kill\");")),
                 QStringList{QStringLiteral("Kill")});
        QStringList plain;
        for (const QString& text : sourceTexts())
            plain << plainTrCallsInText(text);
        QVERIFY2(plain.isEmpty(),
                 qPrintable(QStringLiteral("tr() without a resource id: ") + plain.join(QStringLiteral(", "))));
    }

    void bothLanguagesHaveTheSameIds()
    {
        const QHash<QString, QString> en = entriesOfTs(tsPath(QStringLiteral("en")));
        const QHash<QString, QString> ru = entriesOfTs(tsPath(QStringLiteral("ru")));
        QCOMPARE(QSet<QString>(ru.keyBegin(), ru.keyEnd()), QSet<QString>(en.keyBegin(), en.keyEnd()));
        // Russian texts are Russian, not copies of the English ones (OK aside).
        int cyrillic = 0;
        for (const QString& text : ru)
            cyrillic += text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]"))) ? 1 : 0;
        QCOMPARE(cyrillic, ru.size());
    }

    void compiledResourcesHoldEveryId()
    {
        // The .qm files are embedded in the toolkit library: what the .ts
        // files say must reach a running program.
        for (const QString& language : {QStringLiteral("en"), QStringLiteral("ru")}) {
            QTranslator compiled;
            QVERIFY2(compiled.load(QStringLiteral(":/ezx/lang/ezx_") + language + QStringLiteral(".qm")),
                     qPrintable(language));
            const QHash<QString, QString> entries = entriesOfTs(tsPath(language));
            for (auto it = entries.cbegin(); it != entries.cend(); ++it)
                QCOMPARE(compiled.translate("RID", it.key().toLatin1().constData()), it.value());
        }
    }

    void englishInAnyContext()
    {
        LanguageScope scope(QStringLiteral("en"));
        QVERIFY(scope.loaded);
        QCOMPARE(translated("ZKestrel", "TXT_RID_SOFTKEY_OPTIONS", "Options"), QStringLiteral("Options"));
        QCOMPARE(translated("ZAppSetting", "TXT_RID_SOFTKEY_SAVE", "Save"), QStringLiteral("Save"));
        QCOMPARE(translated("ZNumSelect", "TXT_RID_SOFTKEY_OK", "Ok"), QStringLiteral("OK"));
        QCOMPARE(translated("ZKestrel", "FMT_RID_HEADER_ABOUT_1", "About %1").arg(QStringLiteral("zKestrel")),
                 QStringLiteral("About zKestrel"));
    }

    void russianInAnyContext()
    {
        LanguageScope scope(QStringLiteral("ru"));
        QVERIFY(scope.loaded);
        QCOMPARE(translated("ZKestrel", "TXT_RID_SOFTKEY_EXIT", "Exit"), QString::fromUtf8("Выход"));
        QCOMPARE(translated("ZProcInfoDlg", "TXT_RID_EMPHASIS_STATUS", "Status:"), QString::fromUtf8("Состояние:"));
        QCOMPARE(translated("ZAppSetting", "TXT_RID_SETTING_B_ON", "On"), QString::fromUtf8("Вкл."));
        QCOMPARE(translated("ZAboutDialog", "TXT_RID_HEADER_A_ABOUT", "About"), QString::fromUtf8("О программе"));
        QCOMPARE(translated("ZKestrel", "FMT_RID_HEADER_ABOUT_1", "About %1").arg(QStringLiteral("zKestrel")),
                 QString::fromUtf8("О программе zKestrel"));
    }

    void missingIdShowsItsEnglishText()
    {
        LanguageScope scope(QStringLiteral("ru"));
        // Built at run time so that the source scan above does not see it.
        const QByteArray id = QByteArray("TXT_RID_") + "NOT_IN_RESOURCES";
        QCOMPARE(translated("ZKestrel", id.constData(), "Not there"), QStringLiteral("Not there"));
        // Without an English text the id still never reaches the screen.
        const QString shown = translated("ZKestrel", id.constData(), nullptr);
        QVERIFY(!shown.contains(QLatin1String("TXT_")));
        QCOMPARE(shown, QStringLiteral("Not in resources"));
    }

    void plainTextsPassThrough()
    {
        LanguageScope scope(QStringLiteral("ru"));
        QCOMPARE(translated("ZKestrel", "Kill", nullptr), QStringLiteral("Kill"));
        QCOMPARE(translated("ZAppSetting", "Quit", "Quit"), QStringLiteral("Quit"));
        QCOMPARE(translated("ZKestrel", "", nullptr), QString());
    }

    void missingLanguageFallsBackToEnglish()
    {
        LanguageScope scope(QStringLiteral("xx"));
        QVERIFY(!scope.loaded);
        QCOMPARE(translated("ZKestrel", "TXT_RID_SOFTKEY_EXIT", "Exit"), QStringLiteral("Exit"));
    }

    void languageFollowsTheLocale_data()
    {
        QTest::addColumn<QLocale>("system");
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcMessages");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("expected");
        const QLocale c(QLocale::C);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        QTest::newRow("nothing set") << c << QByteArray() << QByteArray() << QByteArray() << "en";
        QTest::newRow("LANG ru") << c << QByteArray() << QByteArray() << QByteArray("ru_RU.UTF-8") << "ru";
        QTest::newRow("LC_ALL ru") << c << QByteArray("ru_RU") << QByteArray() << QByteArray("en_US") << "ru";
        QTest::newRow("LC_ALL wins over LANG") << c << QByteArray("C.UTF-8") << QByteArray() << QByteArray("ru_RU") << "en";
        QTest::newRow("LC_MESSAGES") << c << QByteArray() << QByteArray("ru_UA.UTF-8") << QByteArray("en_GB") << "ru";
        QTest::newRow("system Russian") << russian << QByteArray() << QByteArray() << QByteArray() << "ru";
        QTest::newRow("German") << QLocale(QLocale::German) << QByteArray() << QByteArray() << QByteArray("de_DE") << "en";
    }

    void languageFollowsTheLocale()
    {
        QFETCH(QLocale, system);
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcMessages);
        QFETCH(QByteArray, lang);
        QFETCH(QString, expected);
        QCOMPARE(pickLanguage(system, lcAll, lcMessages, lang), expected);
    }

    void installingTwiceKeepsOneTranslator()
    {
        const QByteArray saved = qgetenv("LC_ALL");
        qputenv("LC_ALL", "ru_RU.UTF-8");
        installLanguageResources(QCoreApplication::instance());
        QCOMPARE(translated("ZKestrel", "TXT_RID_SOFTKEY_CANCEL", "Cancel"), QString::fromUtf8("Отмена"));

        qputenv("LC_ALL", saved);
        installLanguageResources(QCoreApplication::instance());
        const auto children = QCoreApplication::instance()->findChildren<QTranslator*>(
            QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(children.size(), 1);
        ZLanguageTranslator* installed = ZLanguageTranslator::installedOn(QCoreApplication::instance());
        QVERIFY(installed != nullptr);
        QCOMPARE(installed->language(), QStringLiteral("en"));
        QCOMPARE(translated("ZKestrel", "TXT_RID_SOFTKEY_CANCEL", "Cancel"), QStringLiteral("Cancel"));

        QCoreApplication::removeTranslator(installed);
        delete installed;
    }

    void nullApplicationIsRefused()
    {
        installLanguageResources(nullptr);  // logs, must not crash
        QVERIFY(ZLanguageTranslator::installedOn(QCoreApplication::instance()) == nullptr);
    }
};

ZK_TEST(LanguageResourcesTest)
#include "lang_resources_test.moc"
