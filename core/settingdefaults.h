#pragma once

// The defaults of the settings that more than one place needs: the
// settings object reading the file, the settings dialog showing a missing
// key, the scanner run without settings.

// FiltrProcList: each hidden name between "!".
inline constexpr const char* kDefaultProcFilter =
    "!am!zKestrel!phone!messaging!brwdaemon!misc1!windowsserver!vr!addrbk!br!";
// PanelFontSize and ListFontSize, in points.
inline constexpr int kDefaultPanelFontSize = 14;
inline constexpr int kDefaultListFontSize = 16;
