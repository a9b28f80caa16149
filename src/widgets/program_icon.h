#pragma once

#include <QIcon>

namespace tesmir {

// The program's icon, drawn from the SVG built into the program. The
// application sets it as the default window icon, so every window shows it.
QIcon ProgramIcon();

}  // namespace tesmir
