#pragma once

class ZApplication;
class ZSettings;
class ZKestrel;

// The four process-wide objects that tie the program together.
extern bool isDaemon;          // started with "-daemon"
extern ZApplication* gApp;     // the application object
extern ZSettings* gSettings;   // the one settings object
extern ZKestrel* gMainWindow;  // the one main window, or null
