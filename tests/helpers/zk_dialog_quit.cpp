// Makes a dialog the application's main widget, runs it and accepts it with
// its soft key. Prints "exec <result>" when the dialog's run returns and
// "application ended" when the application's loop returns; a dialog that
// does not end the application leaves this program waiting.
#include "ezx/mybasedlg.h"
#include "ezx/zapplication.h"
#include "ezx/zsoftkey.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    ZApplication app(argc, argv);
    auto* dlg = new MyBaseDlg;
    auto* keys = new ZSoftKey(nullptr, dlg, dlg);
    keys->setClickedSlot(ZSoftKey::Left, dlg, SLOT(accept()));
    dlg->setSoftKey(keys);
    app.setMainWidget(dlg);

    QTimer::singleShot(0, dlg, [dlg, keys] {
        QTimer::singleShot(0, keys, [keys] { keys->click(ZSoftKey::Left); });
        const int r = dlg->exec();
        std::printf("exec %d\n", r);
        std::fflush(stdout);
    });
    app.exec();
    std::printf("application ended\n");
    std::fflush(stdout);
    delete dlg;
    return 0;
}
