#include "ezx/languagetranslator.h"

#include "platform/logline.h"

#include <cstring>

namespace {
// The one context of the compiled resources (translations/*.ts).
constexpr const char* resourceContext = "RID";
constexpr const char* translatorName = "ezxLanguageResources";
}

ZLanguageTranslator::ZLanguageTranslator(QObject* parent)
    : QTranslator(parent)
{
    setObjectName(QLatin1String(translatorName));
}

ZLanguageTranslator* ZLanguageTranslator::installedOn(QObject* application)
{
    if (application == nullptr)
        return nullptr;
    const auto children = application->findChildren<QTranslator*>(QLatin1String(translatorName),
                                                                  Qt::FindDirectChildrenOnly);
    for (QTranslator* child : children) {
        if (auto* translator = dynamic_cast<ZLanguageTranslator*>(child))
            return translator;
    }
    return nullptr;
}

bool ZLanguageTranslator::loadLanguage(const QString& language)
{
    m_language = language;
    const QString file = QStringLiteral(":/ezx/lang/ezx_") + language + QStringLiteral(".qm");
    if (m_resources.load(file))
        return true;
    noteLine(QStringLiteral("LanguageResources: cannot load ") + file
             + QStringLiteral(", English texts are used"));
    return false;
}

bool ZLanguageTranslator::isResourceId(const char* text)
{
    return text != nullptr
           && (std::strncmp(text, "TXT_", 4) == 0 || std::strncmp(text, "FMT_", 4) == 0);
}

QString ZLanguageTranslator::wordsOfId(const QString& id)
{
    QStringList parts = id.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    // Drop the kind ("TXT", "FMT") and the "RID" marker that follows it.
    if (!parts.isEmpty())
        parts.removeFirst();
    if (!parts.isEmpty() && parts.first() == QLatin1String("RID"))
        parts.removeFirst();
    QString words = parts.join(QLatin1Char(' ')).toLower();
    if (!words.isEmpty())
        words[0] = words.at(0).toUpper();
    return words;
}

QString ZLanguageTranslator::translate(const char* context, const char* sourceText,
                                       const char* disambiguation, int n) const
{
    Q_UNUSED(context);
    if (!isResourceId(sourceText))
        return QString();

    const QString text = m_resources.translate(resourceContext, sourceText, nullptr, n);
    if (!text.isEmpty())
        return text;

    const QByteArray id(sourceText);
    if (!m_reportedMissing.contains(id)) {
        m_reportedMissing.insert(id);
        noteLine(QStringLiteral("LanguageResources: no text for ") + QString::fromLatin1(id)
                 + QStringLiteral(", English text used"));
    }
    if (disambiguation != nullptr && *disambiguation != '\0')
        return QString::fromUtf8(disambiguation);
    return wordsOfId(QString::fromLatin1(id));
}

QString pickLanguage(const QLocale& system, const QByteArray& lcAll,
                     const QByteArray& lcMessages, const QByteArray& lang)
{
    QByteArray posix = lcAll;
    if (posix.isEmpty())
        posix = lcMessages;
    if (posix.isEmpty())
        posix = lang;
    const bool russian = posix.startsWith("ru") || system.language() == QLocale::Russian;
    return russian ? QStringLiteral("ru") : QStringLiteral("en");
}
