// Usage: zk_settings_probe [settings]
// Makes the application object with a shown main widget, optionally a
// ZSettings, then raises askReturnToIdle and prints on the last line whether
// the widget is "visible" or "hidden" afterwards.
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zapplication.h"

#include <QWidget>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    const bool withSettings = argc > 1 && std::strcmp(argv[1], "settings") == 0;
    ZApplication app(argc, argv);
    gApp = &app;
    QWidget widget;
    app.setMainWidget(&widget);
    widget.show();

    std::unique_ptr<ZSettings> settings;
    if (withSettings)
        settings = std::make_unique<ZSettings>();
    emit app.askReturnToIdle(1);

    std::printf("%s\n", widget.isVisible() ? "visible" : "hidden");
    std::fflush(stdout);
    settings.reset();
    gApp = nullptr;
    return 0;
}
