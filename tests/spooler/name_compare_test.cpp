#include "spooler/name_compare.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

namespace {

TEST(SameNameIgnoringCase, LetterCaseOfEveryCoveredScript) {
  struct Case {
    std::u16string a;
    std::u16string b;
    bool same;
  } cases[] = {
      {u"Label Printer(2)", u"LABEL printer(2)", true},
      {u"", u"", true},
      {u"Étiquette Œuvre ÿ", u"éTIQUETTE œUVRE Ÿ", true},  // Latin-1 and Latin Extended-A, across them
      {u"Łódź Ǆ ǅ Ɓ", u"łÓDŹ ǆ ǆ ɓ", true},               // Latin Extended-B, title case, IPA
      {u"Việt", u"VIỆT", true},                             // Latin Extended Additional
      {u"ΕΤΙΚΈΤΑ ΣΟΦΟΣ", u"ετικέτα σοφος", true},           // Greek: tonos, final sigma
      {u"ПРИНТЕР ЁЖ Ґ Ԯ", u"принтер ёж ґ ԯ", true},         // Cyrillic and its supplement
      {u"ＬＡＢＥＬ", u"ｌａｂｅｌ", true},                 // full-width Latin
      {u"I", u"\u0131", true},  // dotless i: taken as I rather than risk a clash
      // Ordinal: no folding beyond letter case, no locale rules.
      {u"Label", u"Label ", false},
      {u"label", u"lAbEm", false},
      {u"straße", u"STRASSE", false},
      {u"i", u"\u0130", false},
      {u"e", u"é", false},
      {u"\U0001D400", u"\U0001D41A", false},  // surrogates compare as they are
      {u"@[", u"`{", false},                  // the neighbours of the ASCII letters do not fold
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(SameNameIgnoringCase(cases[i].a, cases[i].b), cases[i].same) << "case " << i;
    EXPECT_EQ(SameNameIgnoringCase(cases[i].b, cases[i].a), cases[i].same) << "case " << i << " reversed";
  }
}

TEST(UpperCaseUnit, EdgesOfTheRuns) {
  const std::pair<char16_t, char16_t> cases[] = {
      {u'`', u'`'},     {u'{', u'{'},     {0x00DF, 0x00DF}, {0x00F7, 0x00F7}, {0x00FE, 0x00DE},
      {0x0100, 0x0100}, {0x012F, 0x012E}, {0x0130, 0x0130}, {0x0149, 0x0149}, {0x017F, u'S'},
      {0x01C4, 0x01C4}, {0x0390, 0x0390}, {0x04C0, 0x04C0}, {0x04CF, 0x04C0}, {0x0530, 0x0530},
      {0x1E96, 0x1E96}, {0x1EFF, 0x1EFE}, {0xFF5A, 0xFF3A}, {0xFF5B, 0xFF5B}, {0xFFFF, 0xFFFF},
  };
  for (auto [unit, upper] : cases) {
    EXPECT_EQ(static_cast<unsigned>(UpperCaseUnit(unit)), static_cast<unsigned>(upper))
        << "U+" << std::hex << static_cast<unsigned>(unit);
  }
}

// An upper case must be its own upper case, or two names could match one way round only.
TEST(UpperCaseUnit, UpperCasesAreFixedPoints) {
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    char16_t upper = UpperCaseUnit(static_cast<char16_t>(unit));
    ASSERT_EQ(UpperCaseUnit(upper), upper) << "U+" << std::hex << unit;
  }
}

}  // namespace
