// The language a run starts in, chosen once and selected before anything reads a text.
#include <gtest/gtest.h>

#include "app/start_up.h"
#include "config/texts.h"

TEST(SelectStartLanguage, SelectsTheChosenLanguageAndReturnsItsButton) {
  struct Case {
    const char16_t* configured;
    std::uint16_t ui;
    int button;
    const char16_t* code;
    std::int32_t table;
  };
  const Case cases[] = {
      {u"CHN", 0x0409, IDC_CHINESE, u"CHN", kChineseTableIndex},
      {u"ENG", 0x0804, IDC_ENGLISH, u"ENG", kEnglishTableIndex},
      {u"", 0x0804, IDC_CHINESE, u"CHN", kChineseTableIndex},
      {u"chn", 0x0409, IDC_ENGLISH, u"ENG", kEnglishTableIndex},
  };
  for (const Case& c : cases) {
    InstallContext context;
    context.defaultLanguage = c.configured;
    EXPECT_EQ(c.button, SelectStartLanguage(context, c.ui)) << c.ui;
    EXPECT_EQ(c.code, context.languageCode);
    EXPECT_EQ(c.table, context.languageIndex);
  }
}
