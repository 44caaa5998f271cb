#include "config/resolve_configuration.h"

namespace {

void Apply(InstallContext& context, std::vector<ResolvedValue>& values, const NamedValue& value,
           const std::u16string& source) {
  ApplyNamedValue(context, value);
  const std::u16string name = CanonicalName(value.key);
  for (ResolvedValue& resolved : values) {
    if (SameKey(resolved.name, name)) {
      resolved.value = value.value;
      resolved.source = source;
      return;
    }
  }
  values.push_back({name, value.value, source});
}

// The file's name as the text calls it: "config.ini", or the /config file's own name.
std::u16string FileName(const std::u16string& path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Resolution ResolveConfiguration(InstallContext& context, const ReadTargets& targets, MachineIdentity& identity,
                                const std::vector<NamedValue>& commandLine, bool alwaysAskMachine) {
  Resolution resolution;
  resolution.values = SettableValues(context);
  resolution.targetError = targets.error;
  resolution.hasTargets = !targets.targets.empty() || targets.error.has_value();
  if (resolution.hasTargets || alwaysAskMachine) resolution.machine = identity.Read();
  if (!targets.error && resolution.machine) {
    if (const Target* target = FirstMatchingTarget(targets.targets, *resolution.machine)) {
      resolution.targetLabel = target->label;
      for (const NamedValue& value : target->values) {
        Apply(context, resolution.values, value, kTargetSectionPrefix + target->label);
      }
    }
  }
  for (const NamedValue& value : commandLine) Apply(context, resolution.values, value, u"command line");
  return resolution;
}

std::u16string NoTargetText(const InstallContext& context, const Machine& machine) {
  return u"No target in " + FileName(context.configPath) + u" matches this PC (" + MachineFacts(machine) +
         u"). Nothing was changed.";
}

bool SkipWhenNoTarget(const InstallContext& context) { return SameKey(context.noTargetMatched, u"Skip"); }
