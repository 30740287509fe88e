#pragma once

#include "canvas.h"

// Each group of pictures, with the path it is saved under.
Pictures rowAndLauncherIcons();  // img/sh, java, app, run_app, desktop
Pictures menuIcons();            // img/show, quit, priority, app_*, flag, about, exit
Pictures tabIcons();             // img/tab_*, info, liblist
Pictures panelPictures();        // panel/cpu, ram, swap, progress, progressv
Pictures resourceIcons();        // ezx/icons/*_std.png
Pictures programIcon();          // img/zKestrel.png
