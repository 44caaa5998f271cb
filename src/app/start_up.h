#pragma once
// What a run settles once, before the wizard, the quiet install or the uninstall begins. Each of
// them is handed this instead of reading config.ini or asking the system again.
#include <cstdint>

#include "app/navigation.h"
#include "config/install_context.h"

struct RunStart {
  InstallContext context;            // config.ini as loaded, with the start language selected
  int osBitness = 32;                // 64 or 32: packages, monitor tools and driver environment
  bool arm64 = false;                // Windows on ARM64, where nothing may be installed
  int languageButton = IDC_ENGLISH;  // the language page's button of the start language
};

// Chooses the start language as the wizard does (config.ini, else the user's interface language),
// selects it in the context and returns its button.
int SelectStartLanguage(InstallContext& context, std::uint16_t uiLanguage);
