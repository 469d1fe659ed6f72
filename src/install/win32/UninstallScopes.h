#pragma once
// The uninstall scope on this system: the folders it is built from, long canonical paths,
// and links inside the installation folder that a removal must not follow.

#include <string>

#include "install/UninstallScope.h"

class TQorvelInstallation;

// Programs, desktops, quick launch, program files, and every system and user folder that an
// uninstallation must never remove, as this system names them.
TScopeFolders SystemScopeFolders();

// The canonical form with short (8.3) names expanded, as far as the path exists; empty for a
// path that is not a full one.
std::wstring LongCanonicalPath(const std::wstring& path);

// Whether a folder between `folder` (included) and `path` (excluded) is a junction or a
// symbolic link: what lies behind it is not the installation's, whatever the path says.
bool PassesThroughLink(const std::wstring& path, const std::wstring& folder);

// Whether the object itself is a link (removed as a link, never followed).
bool IsLink(const std::wstring& path);
