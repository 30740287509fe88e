#include "sim/demooptions.h"

DemoOptions parseDemoOptions(const QStringList& arguments)
{
    DemoOptions options;
    const QString argv0 = arguments.value(0);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--app-title") && hasValue)
            options.title = arguments.at(++i);
        else if (a == QLatin1String("--app-icon") && hasValue)
            options.icon = arguments.at(++i);
        else if (a == QLatin1String("--idle"))
            options.idleScreen = true;
    }
    if (argv0.contains(QLatin1String("SYSqtapp/phone/phone")))
        options.idleScreen = true;
    if (options.title.isEmpty()) {
        options.title = argv0.section(QLatin1Char('/'), -1);
        if (options.title.isEmpty())
            options.title = QStringLiteral("Application");
    }
    return options;
}
