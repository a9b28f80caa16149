#include "widgets/program_icon.h"

#include <QString>

// The icon's resource is compiled into the static windows library, where the
// linker would drop it as unreferenced; naming its initialiser here keeps it.
// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterIconResource() { Q_INIT_RESOURCE(icons); }

namespace tesmir {

QIcon ProgramIcon() {
  static const bool registered = (RegisterIconResource(), true);
  static_cast<void>(registered);
  return QIcon(QStringLiteral(":/icons/tesmir.svg"));
}

}  // namespace tesmir
