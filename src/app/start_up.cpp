#include "app/start_up.h"

#include "config/texts.h"

int SelectStartLanguage(InstallContext& context, std::uint16_t uiLanguage) {
  const int button = ChooseStartLanguage(context.defaultLanguage, uiLanguage);
  SelectLanguage(context, LanguageCode(button));
  return button;
}
