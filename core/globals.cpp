#include "core/globals.h"

bool isDaemon = false;
ZApplication* gApp = nullptr;
ZSettings* gSettings = nullptr;
ZKestrel* gMainWindow = nullptr;
