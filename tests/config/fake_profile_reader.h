#pragma once
// An in-memory INI reader that behaves like the Windows one where the loader relies on it: names
// match without regard to case, values are cut to the buffer, a section that does not fit is cut
// with its last entry truncated and the result size - 2. Every call is recorded.
#include <optional>
#include <string>
#include <vector>

#include "config/profile_reader.h"

class FakeProfileReader : public ProfileReader {
 public:
  struct Call {
    std::u16string what;  // "String", "Int" or "Section"
    std::u16string section;
    std::u16string key;  // empty for "Section"
    std::uint32_t size = 0;
    std::u16string path;
    bool operator==(const Call& o) const {
      return what == o.what && section == o.section && key == o.key && size == o.size && path == o.path;
    }
  };

  std::u16string path;  // the one file that exists; every other path reads as missing
  std::vector<Call> calls;

  // A line of a section: "name=value", or a bare "name" (no value).
  void Add(const std::u16string& section, const std::u16string& line) { Find(section, true)->lines.push_back(line); }
  void AddSection(const std::u16string& section) { Find(section, true); }

  std::uint32_t GetPrivateProfileStringW(const std::u16string& appName, const std::u16string& keyName,
                                         const std::u16string& defaultValue, std::u16string& returned,
                                         std::uint32_t size, const std::u16string& fileName) override {
    calls.push_back({u"String", appName, keyName, size, fileName});
    std::optional<std::u16string> value = Value(appName, keyName, fileName);
    std::u16string text = value ? *value : defaultValue;
    if (size == 0) text.clear();
    else if (text.size() > size - 1) text.resize(size - 1);
    returned = text;
    return static_cast<std::uint32_t>(text.size());
  }

  std::uint32_t GetPrivateProfileIntW(const std::u16string& appName, const std::u16string& keyName,
                                      std::int32_t defaultValue, const std::u16string& fileName) override {
    calls.push_back({u"Int", appName, keyName, 0, fileName});
    std::optional<std::u16string> value = Value(appName, keyName, fileName);
    if (!value) return static_cast<std::uint32_t>(defaultValue);
    // Leading decimal digits with an optional sign, as the platform parses them.
    std::size_t i = 0;
    bool negative = false;
    if (i < value->size() && ((*value)[i] == u'-' || (*value)[i] == u'+')) negative = (*value)[i++] == u'-';
    std::uint32_t n = 0;
    for (; i < value->size() && (*value)[i] >= u'0' && (*value)[i] <= u'9'; ++i) n = n * 10 + ((*value)[i] - u'0');
    return negative ? 0u - n : n;
  }

  std::uint32_t GetPrivateProfileSectionW(const std::u16string& appName, std::u16string& returned,
                                          std::uint32_t size, const std::u16string& fileName) override {
    calls.push_back({u"Section", appName, u"", size, fileName});
    std::u16string content;
    if (const Section* s = fileName == path ? Find(appName, false) : nullptr) {
      for (const auto& line : s->lines) content += line + u'\0';
    }
    returned.assign(size, u'\0');
    if (size < 2) return 0;
    if (content.size() + 1 <= size) {
      returned.replace(0, content.size(), content);
      return static_cast<std::uint32_t>(content.size());
    }
    returned.replace(0, size - 2, content.substr(0, size - 2));
    return size - 2;
  }

  std::uint32_t GetPrivateProfileSectionNamesW(std::u16string& returned, std::uint32_t size,
                                               const std::u16string& fileName) override {
    calls.push_back({u"SectionNames", u"", u"", size, fileName});
    std::u16string content;
    if (fileName == path) {
      for (const Section& s : sections_) content += s.name + u'\0';
    }
    returned.assign(size, u'\0');
    if (content.size() + 1 > size) content.resize(size > 2 ? size - 2 : 0);
    returned.replace(0, content.size(), content);
    return static_cast<std::uint32_t>(content.size());
  }

 private:
  struct Section {
    std::u16string name;
    std::vector<std::u16string> lines;
  };
  std::vector<Section> sections_;

  static std::u16string Lower(std::u16string s) {
    for (auto& c : s) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return s;
  }

  Section* Find(const std::u16string& name, bool create) {
    for (auto& s : sections_) {
      if (Lower(s.name) == Lower(name)) return &s;
    }
    if (!create) return nullptr;
    sections_.push_back({name, {}});
    return &sections_.back();
  }

  std::optional<std::u16string> Value(const std::u16string& section, const std::u16string& key,
                                      const std::u16string& fileName) {
    if (fileName != path) return std::nullopt;
    const Section* s = Find(section, false);
    if (!s) return std::nullopt;
    for (const auto& line : s->lines) {
      std::size_t eq = line.find(u'=');
      if (eq != std::u16string::npos && Lower(line.substr(0, eq)) == Lower(key)) return line.substr(eq + 1);
    }
    return std::nullopt;
  }
};
