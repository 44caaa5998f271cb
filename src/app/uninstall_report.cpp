#include "app/uninstall_report.h"

#include "app/install_records.h"
#include "diag/diagnostics.h"

namespace {

constexpr std::size_t kBoxTextCapacity = 512;

const char16_t* FailedCall(UninstallKind kind) {
  switch (kind) {
    case UninstallKind::Printer: return u"DeletePrinter";
    case UninstallKind::Port: return u"DeletePort";
    case UninstallKind::Driver: break;
  }
  return u"DeletePrinterDriver";
}

}  // namespace

bool CarryOutUninstall(const InstallContext& context, PrintPlatform& platform, const UninstallPlan& plan,
                       Registry& registry) {
  bool removed = plan.unlisted.empty();
  for (const auto& [call, code] : plan.unlisted) {
    DebugTrace(u"%s Failed With %u: Uninstall Incomplete", call, code);
    ShowError(0, code, FormatWide(kBoxTextCapacity, u"%s Failed", call));
  }
  const std::vector<UninstallStep> steps = RunUninstall(context, platform, plan);
  for (const UninstallStep& step : steps) {
    if (step.removed) continue;
    ShowError(0, step.code, FormatWide(kBoxTextCapacity, u"%s Failed: %s", FailedCall(step.kind), step.object));
    removed = false;
  }
  SettleRecords(registry, plan, steps);
  return removed;
}
