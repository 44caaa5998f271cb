#include "app/win32/app_services.h"

#include <memory>

namespace {
std::unique_ptr<AppServices>& Instance() {
  static std::unique_ptr<AppServices> services;
  return services;
}
}  // namespace

void StartServices(int osBitness) { Instance() = std::make_unique<AppServices>(osBitness); }

AppServices& Services() { return *Instance(); }
