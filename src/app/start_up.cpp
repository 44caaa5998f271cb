#include "app/start_up.h"

#include "app/install_road.h"
#include "config/texts.h"
#include "diag/diagnostics.h"

int SelectStartLanguage(InstallContext& context, std::uint16_t uiLanguage) {
  const int button = ChooseStartLanguage(context.defaultLanguage, uiLanguage);
  SelectLanguage(context, LanguageCode(button));
  return button;
}

ResolutionVerdict JudgeResolution(const InstallContext& context, const Resolution& resolution) {
  if (resolution.targetError) {
    const TargetError& error = *resolution.targetError;
    ShowError(0, 0, u"[" + error.section + u"] " + error.key + u": " + error.reason + u". Nothing was changed.");
    return {false, kExitInstallFailed};
  }
  if (resolution.machine && resolution.hasTargets) {
    DebugTrace(u"This PC: %s", MachineFacts(*resolution.machine));
  }
  if (resolution.NoTargetMatched()) {
    const std::u16string text = NoTargetText(context, *resolution.machine);
    if (SkipWhenNoTarget(context)) {
      DebugTrace(u"%s NoTargetMatched=Skip", text);
      return {false, kExitInstalled};
    }
    ShowMessage(0, text, std::u16string(u"PrinterSetup"));
    return {false, kExitInstallFailed};
  }
  if (resolution.targetLabel) DebugTrace(u"Target TARGET.%s", *resolution.targetLabel);
  for (const ResolvedValue& value : resolution.values) {
    if (value.source != u"config.ini") DebugTrace(u"%s=%s from %s", value.name, value.value, value.source);
  }
  return {};
}

std::vector<std::u16string> ShowConfigLines(const Resolution& resolution) {
  std::vector<std::u16string> lines;
  if (resolution.machine) lines.push_back(u"this PC: " + MachineFacts(*resolution.machine));
  if (resolution.targetLabel) {
    lines.push_back(u"target: TARGET." + *resolution.targetLabel);
  } else {
    lines.push_back(resolution.hasTargets ? u"target: none matches" : u"target: none in the file");
  }
  for (const ResolvedValue& value : resolution.values) {
    lines.push_back(u"value: " + value.name + u"=" + value.value + u" (" + value.source + u")");
  }
  return lines;
}
