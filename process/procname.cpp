#include "process/procname.h"

namespace {
const QLatin1Char kBlank(' ');
const QLatin1Char kSlash('/');

// A loader runs the program named by its first argument. The first word is
// taken for a loader when it lies in a lib folder and the next word is a path;
// a program that itself lives in a lib folder ("/usr/lib/app -x") keeps its
// name that way, and a "/lib/" further on in the arguments is not looked at.
bool startsWithLoader(const QString& text, qsizetype* programAt)
{
    const qsizetype blank = text.indexOf(kBlank);
    if (blank < 1 || !text.left(blank).contains(QLatin1String("/lib/")))
        return false;
    qsizetype next = blank;
    while (next < text.size() && text.at(next) == kBlank)
        ++next;
    if (next >= text.size() || text.at(next) != kSlash)
        return false;
    *programAt = next;
    return true;
}
}

QString getProcName(const QString& cmdline)
{
    if (cmdline.contains(QLatin1String("kvm")))
        return cmdline;

    QString text = cmdline;
    // Drop the loader but keep its first character, a "/": the folder rule
    // below removes it together with the program's folders.
    qsizetype programAt = 0;
    while (startsWithLoader(text, &programAt))
        text.remove(1, programAt - 1);

    const qsizetype blank = text.indexOf(kBlank);
    if (blank >= 0)
        text.truncate(blank);

    const qsizetype lastSlash = text.lastIndexOf(kSlash);
    if (lastSlash >= 0)
        text.remove(0, lastSlash + 1);
    return text;
}

bool checkProcFilter(const QString& name, bool showAllTask, const QString& filterList)
{
    if (showAllTask)
        return !name.contains(QLatin1String("zKestrel"));
    const QString key = QLatin1Char('!') + name + QLatin1Char('!');
    return !filterList.contains(key);
}

bool isUserApp(const QString& cmdline)
{
    return cmdline.contains(QLatin1String("/.Programs/"))
        || cmdline.contains(QLatin1String("/download/mystuff/"))
        || cmdline.contains(QLatin1String("/mmc/mmca"));
}
