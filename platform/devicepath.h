#pragma once

#include <QString>

// The phone's fixed storage paths (registries, Java files, memory card,
// /sys/mpm/op) are looked up below EZX_DEVICE_ROOT, so that the program runs
// against a simulated phone's storage. Unset or empty means "/". /proc is
// never prefixed: it is always the real one.
QString devicePath(const QString& phonePath);

// The folder that devicePath() puts in front, without a trailing "/";
// empty when the real root is used.
QString deviceRoot();

// The program's configuration file: EZX_APP_WRITE_PATH followed directly by
// "/setup/zKestrel.cfg" (no separator added; unset gives the bare literal).
QString configFilePath();
