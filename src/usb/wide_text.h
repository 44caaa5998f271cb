#pragma once
// Heap copies of text for the enumerators' output. Results are released with free().

// A UTF-16 copy of a narrow text in the user's default locale; null for null or no memory.
// Sets the runtime's locale for all categories to the user's default on every call.
char16_t* NarrowToWideText(const char* text);

// A copy of exactly length + 1 units; null for null or no memory.
char16_t* DuplicateWideText(const char16_t* text);
