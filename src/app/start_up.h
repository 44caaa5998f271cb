#pragma once
// What a run settles once, before the wizard, the quiet install or the uninstall begins. Each of
// them is handed this instead of reading config.ini or asking the system again.
#include <cstdint>

#include "app/navigation.h"
#include "config/install_context.h"
#include "config/resolve_configuration.h"

struct RunStart {
  InstallContext context;            // config.ini as loaded and resolved, with the start language selected
  Resolution resolution;             // the target and command-line values over config.ini
  int osBitness = 32;                // 64 or 32: packages, monitor tools and driver environment
  bool arm64 = false;                // Windows on ARM64, where nothing may be installed
  int languageButton = IDC_ENGLISH;  // the language page's button of the start language
};

// Chooses the start language as the wizard does (config.ini, else the user's interface language),
// selects it in the context and returns its button.
int SelectStartLanguage(InstallContext& context, std::uint16_t uiLanguage);

// What a run may do once the configuration is resolved: go on, or end with this exit code after
// the box or log line (a target section at fault, or no target for this PC). Log lines name the
// target chosen and each value a target or the command line set.
struct ResolutionVerdict {
  bool goOn = true;
  int exitCode = 0;
};
ResolutionVerdict JudgeResolution(const InstallContext& context, const Resolution& resolution);

// /showconfig's lines: the PC, the target, every value and its source.
std::vector<std::u16string> ShowConfigLines(const Resolution& resolution);
