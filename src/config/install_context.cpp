#include "config/install_context.h"

InstallContext& Context() {
  static InstallContext context;
  return context;
}
