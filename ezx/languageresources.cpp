#include "ezx/languageresources.h"

#include "ezx/languagetranslator.h"
#include "platform/logline.h"

#include <QCoreApplication>

void installLanguageResources(QCoreApplication* app)
{
    if (app == nullptr) {
        noteLine(QStringLiteral("LanguageResources: no application, nothing installed"));
        return;
    }
    // One set of resources per application, however often this is called.
    ZLanguageTranslator* translator = ZLanguageTranslator::installedOn(app);
    if (translator == nullptr)
        translator = new ZLanguageTranslator(app);
    else
        QCoreApplication::removeTranslator(translator);

    const QString language = pickLanguage(QLocale::system(), qgetenv("LC_ALL"),
                                          qgetenv("LC_MESSAGES"), qgetenv("LANG"));
    translator->loadLanguage(language);
    QCoreApplication::installTranslator(translator);
}
