#include "process/procname.h"

namespace zk::proc {

namespace {
const QLatin1Char kBlank(' ');
const QLatin1Char kSlash('/');

// The dynamic loader's own file names: "ld-linux.so.2", "ld.so.1",
// "ld64.so.2" and the like.
bool isLoaderName(QStringView word)
{
    const QStringView name = word.mid(word.lastIndexOf(kSlash) + 1);
    return name.startsWith(QLatin1String("ld-")) || name.startsWith(QLatin1String("ld."))
           || name.startsWith(QLatin1String("ld64"));
}

// A loader runs the program named by its first argument. The first word is
// taken for a loader when it lies in a lib folder and the next word is a path,
// or when it is the dynamic loader itself and the next word is not one of its
// options: a program started by a relative name ("./mygame", "calc") is
// still that program. A program that itself lives in a lib folder
// ("/usr/lib/app -x") keeps its name, and a "/lib/" further on in the
// arguments is not looked at.
bool startsWithLoader(const QString& text, qsizetype* programAt)
{
    // Only a loader named by its full path: dropping it keeps the "/" it
    // starts with (see getProcName).
    const qsizetype blank = text.indexOf(kBlank);
    if (blank < 1 || text.at(0) != kSlash || !text.left(blank).contains(QLatin1String("/lib/")))
        return false;
    qsizetype next = blank;
    while (next < text.size() && text.at(next) == kBlank)
        ++next;
    if (next >= text.size())
        return false;
    const bool programPath = text.at(next) == kSlash;
    const bool loaderRunsProgram =
        isLoaderName(QStringView(text).left(blank)) && text.at(next) != QLatin1Char('-');
    if (!programPath && !loaderRunsProgram)
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

}  // namespace zk::proc
