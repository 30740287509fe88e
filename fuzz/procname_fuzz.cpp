// getProcName and the task list's filters on any command line text.
#include "core/settingdefaults.h"
#include "fuzz/fuzzsupport.h"
#include "process/procname.h"

using namespace zk::proc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Command lines reach the task list as Latin-1 text (cmdlineText).
    const QString cmdline = QString::fromLatin1(fuzz::bytes(data, size));

    const QString name = getProcName(cmdline);
    if (cmdline.contains(QLatin1String("kvm"))) {
        FUZZ_CHECK(name == cmdline);
    } else {
        // One word of the command line without its folders.
        FUZZ_CHECK(!name.contains(QLatin1Char(' ')));
        FUZZ_CHECK(!name.contains(QLatin1Char('/')));
        FUZZ_CHECK(cmdline.contains(name));
        FUZZ_CHECK(getProcName(name) == name);
    }

    // A name written into the list between "!" is hidden, wherever it stands.
    const QString defaults = QString::fromLatin1(kDefaultProcFilter);
    FUZZ_CHECK(!checkProcFilter(name, false, defaults + name + QLatin1Char('!')));
    FUZZ_CHECK(!checkProcFilter(name + QLatin1String("zKestrel"), true, defaults));
    (void)checkProcFilter(name, false, defaults);
    (void)checkProcFilter(name, true, defaults);
    (void)isUserApp(cmdline);
    return 0;
}
