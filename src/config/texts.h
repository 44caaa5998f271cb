#pragma once
// The two built-in language tables and the switch between them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/install_context.h"

struct TextEntry {
  const char16_t* key = nullptr;  // nullptr: an empty entry, which matches no key
  const char16_t* text = nullptr;
};

constexpr std::size_t kTextTableEntries = 1000;
// The entries in use, first in each table: the wizard's 21 texts, then the refusals of bad
// configuration and input, then the texts of re-runs and uninstall, then the checks made before
// the first change, that came later.
constexpr std::size_t kUsedTextEntries = 42;
using TextTable = std::array<TextEntry, kTextTableEntries>;

constexpr std::int32_t kChineseTableIndex = 0;
constexpr std::int32_t kEnglishTableIndex = 1;

// The table at languageIndex 0 (Chinese) or 1 (English); nullptr for any other index.
const TextTable* TextTableAt(std::int32_t tableIndex);

// The constant text paired with key in that table, or nullptr when the key is absent.
const char16_t* LookupTextIn(std::int32_t tableIndex, std::u16string_view key);

// The text of key in the language now selected.
const char16_t* LookupText(const InstallContext& context, std::u16string_view key);

// Stores code as languageCode and selects the Chinese table for exactly "CHN", else the English one.
void SelectLanguage(InstallContext& context, std::u16string_view code);
