#pragma once
// The one configuration of a run: config.ini, then the first target that matches this PC, then
// the command line's NAME=VALUE arguments, each later one winning.
#include <optional>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "config/overrides.h"
#include "config/targets.h"

// The PC's NetBIOS name and IPv4 addresses, asked only when a target or /showconfig needs them.
class MachineIdentity {
 public:
  virtual ~MachineIdentity() = default;
  virtual Machine Read() = 0;
};

struct Resolution {
  std::optional<TargetError> targetError;  // a target section at fault: nothing may be changed
  bool hasTargets = false;
  std::optional<std::u16string> targetLabel;  // the target that matched
  std::optional<Machine> machine;             // asked when there were targets
  std::vector<ResolvedValue> values;          // every settable value and where it came from

  // Targets, and none matched this PC.
  bool NoTargetMatched() const { return hasTargets && !targetLabel && !targetError; }
};

// Sets the context's values; machine is asked only when the file has targets or always is set.
Resolution ResolveConfiguration(InstallContext& context, const ReadTargets& targets, MachineIdentity& identity,
                                const std::vector<NamedValue>& commandLine, bool alwaysAskMachine = false);

// "No target in config.ini matches this PC (<facts>). Nothing was changed."
std::u16string NoTargetText(const InstallContext& context, const Machine& machine);

// [ARGS] NoTargetMatched: Skip, without regard to case; anything else is Fail.
bool SkipWhenNoTarget(const InstallContext& context);
