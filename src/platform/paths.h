// Path rules the folder browser and its lists share: how folder and file names combine and
// compare on this system ("/" between components, compared exactly, masks ignoring case).
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Whether `prefix` is `path` itself or one of its ancestor folders, compared by whole path
// components and exactly: "/home" prefixes "/home/x" but not "/homework".
bool isPathPrefix(const QString &prefix, const QString &path);

// A file's full name from its folder and its name: exactly one "/" between them, so the root
// folder "/" and "x.ttf" give "/x.ttf". An empty folder gives the name alone.
QString joinPath(const QString &folder, const QString &name);

// The folders from the root down to `folder` itself: "/a/b" gives "/", "/a", "/a/b".
// `folder` is an absolute, clean path.
QStringList folderChain(const QString &folder);

// Whether `name` matches a file mask of "*" (any run of characters) and "?" (any one
// character), ignoring letter case. An empty mask and "*.*" match every name.
bool matchesMask(const QString &name, const QString &mask);

} // namespace platform
