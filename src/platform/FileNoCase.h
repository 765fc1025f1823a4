#pragma once

// File names that the settings name (the language, the post-processor) were
// written for a file system that ignores case; on Linux they are looked up
// here, one path component at a time, without regard to case.

#include <QString>

// The full path of the existing file or folder that folder + "/" + name
// denotes when case is ignored; name may hold sub-folders, separated by '/'
// or '\'. An exact match wins; among several others the first in name order
// is taken. Empty when there is none.
QString FindPathNoCase(const QString& folder, const QString& name);

// As FindPathNoCase, but only a file (or a link to one) is found.
QString FindFileNoCase(const QString& folder, const QString& name);
