#pragma once

// The program's version information: the fixed strings that the window
// caption and the About box show. The product name is the program's own;
// the file version is the version the build was made from.

#include <QString>

// The value of a version string by its name ("ProductName", "FileVersion");
// empty for any other name.
QString VersionInfoValue(const QString& name);
