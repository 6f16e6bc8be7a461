#pragma once

#include <QIcon>

// The program's icon (resource 131): a telescope under the stars, drawn at
// every size the desktop asks for.
QIcon LoadAppIcon();
