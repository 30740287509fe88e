#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QTranslator>

// The phone's language resources as one translator. Every class translates
// in its own context ("ZKestrel", "ZAppSetting", ...), but a resource id
// (TXT_..., FMT_...) means the same text everywhere, so the id is looked up
// in the one context of the compiled resources whatever context asked.
// An id the resources lack shows its English text (the comment of the
// tr() call); other texts are left to the next translator, and so pass
// through unchanged.
class ZLanguageTranslator : public QTranslator
{
public:
    explicit ZLanguageTranslator(QObject* parent = nullptr);

    // The translator installed on an application, or null.
    static ZLanguageTranslator* installedOn(QObject* application);

    // Loads ":/ezx/lang/ezx_<language>.qm" ("en", "ru"). False, with a log
    // line, when there is no such resource; ids then show their English text.
    bool loadLanguage(const QString& language);
    QString language() const { return m_language; }

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }

    // True for the texts this translator answers for: "TXT_..." and "FMT_...".
    static bool isResourceId(const char* text);
    // Readable words made from an id when not even an English text is known:
    // "TXT_RID_OPTION_ALL_TASKS" gives "All tasks".
    static QString wordsOfId(const QString& id);

private:
    QTranslator m_resources;
    QString m_language;
    mutable QSet<QByteArray> m_reportedMissing;
};

// "ru" when the user's language is Russian, "en" otherwise: Russian when the
// system locale is, or when the first set of LC_ALL, LC_MESSAGES, LANG (their
// usual order of precedence) names it ("ru_RU.UTF-8", "ru").
QString pickLanguage(const QLocale& system, const QByteArray& lcAll,
                     const QByteArray& lcMessages, const QByteArray& lang);
