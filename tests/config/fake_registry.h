#pragma once
// An in-memory HKLM: keys by path, each with its values. As in the registry, names match without
// regard to case, setting a value makes its key and the keys above it, a missing key or value is
// kRegistryNotFound and a key with subkeys is not deleted (kRegistryAccessDenied). Any method fails
// on demand: Fail("SetString", code) every call, or only the n-th from now.
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/registry.h"

class FakeRegistry : public Registry {
 public:
  struct Value {
    std::u16string name;
    bool multi = false;
    std::vector<std::u16string> texts;
  };

  void Fail(const std::string& method, std::uint32_t code, int onlyCall = 0) { rules_[method] = {code, onlyCall, 0}; }
  void Clear(const std::string& method) { rules_.erase(method); }

  // --- What a test looks at ---
  bool HasKey(const std::u16string& key) const { return keys_.count(Fold(key)) != 0; }
  // A REG_SZ value's text; none for a value that is not there or of another type.
  std::optional<std::u16string> Text(const std::u16string& key, const std::u16string& name) const {
    const Value* value = Find(key, name);
    if (!value || value->multi) return std::nullopt;
    return value->texts.empty() ? std::u16string() : value->texts.front();
  }
  std::optional<std::vector<std::u16string>> Texts(const std::u16string& key, const std::u16string& name) const {
    const Value* value = Find(key, name);
    if (!value || !value->multi) return std::nullopt;
    return value->texts;
  }
  // The value names of a key, in the order of their (folded) names.
  std::vector<std::u16string> ValueNames(const std::u16string& key) const {
    std::vector<std::u16string> names;
    auto found = keys_.find(Fold(key));
    if (found == keys_.end()) return names;
    for (const auto& [folded, value] : found->second.values) names.push_back(value.name);
    return names;
  }
  // Every key's path as it was first spelt, in the order of their (folded) paths.
  std::vector<std::u16string> Keys() const {
    std::vector<std::u16string> paths;
    for (const auto& [folded, key] : keys_) paths.push_back(key.path);
    return paths;
  }

  // --- Registry ---
  Status SetString(const std::u16string& key, const std::u16string& name, const std::u16string& text) override {
    if (auto code = Failing("SetString")) return Status::Failed(*code);
    Make(key).values[Fold(name)] = {name, false, {text}};
    return {};
  }
  Status SetStrings(const std::u16string& key, const std::u16string& name,
                    const std::vector<std::u16string>& texts) override {
    if (auto code = Failing("SetStrings")) return Status::Failed(*code);
    std::vector<std::u16string> entries;
    for (const std::u16string& text : texts) {
      if (!text.empty()) entries.push_back(text);
    }
    Make(key).values[Fold(name)] = {name, true, entries};
    return {};
  }
  Read<std::vector<std::u16string>> Strings(const std::u16string& key, const std::u16string& name) override {
    using Result = Read<std::vector<std::u16string>>;
    if (auto code = Failing("Strings")) return Result::Failed(ReadStage::SizeQueryFailed, *code);
    const Value* value = Find(key, name);
    if (!value) return Result::Failed(ReadStage::SizeQueryFailed, kRegistryNotFound);
    return Result::Of(value->texts);
  }
  Status DeleteValue(const std::u16string& key, const std::u16string& name) override {
    if (auto code = Failing("DeleteValue")) return Status::Failed(*code);
    auto found = keys_.find(Fold(key));
    if (found == keys_.end() || found->second.values.erase(Fold(name)) == 0) return Status::Failed(kRegistryNotFound);
    return {};
  }
  Status DeleteKey(const std::u16string& key) override {
    if (auto code = Failing("DeleteKey")) return Status::Failed(*code);
    auto found = keys_.find(Fold(key));
    if (found == keys_.end()) return Status::Failed(kRegistryNotFound);
    if (SubkeyCount(found->first) > 0) return Status::Failed(kRegistryAccessDenied);
    keys_.erase(found);
    return {};
  }
  Read<RegistryKeyCounts> Counts(const std::u16string& key) override {
    if (auto code = Failing("Counts")) return Read<RegistryKeyCounts>::Failed(ReadStage::FillFailed, *code);
    auto found = keys_.find(Fold(key));
    if (found == keys_.end()) return Read<RegistryKeyCounts>::Failed(ReadStage::FillFailed, kRegistryNotFound);
    return Read<RegistryKeyCounts>::Of(
        {SubkeyCount(found->first), static_cast<std::uint32_t>(found->second.values.size())});
  }

 private:
  struct Key {
    std::u16string path;
    std::map<std::u16string, Value> values;
  };
  struct Rule {
    std::uint32_t code = 0;
    int onlyCall = 0;
    int seen = 0;
  };

  static std::u16string Fold(const std::u16string& text) {
    std::u16string folded = text;
    for (char16_t& c : folded) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return folded;
  }
  const Value* Find(const std::u16string& key, const std::u16string& name) const {
    auto found = keys_.find(Fold(key));
    if (found == keys_.end()) return nullptr;
    auto value = found->second.values.find(Fold(name));
    return value == found->second.values.end() ? nullptr : &value->second;
  }
  // The key, and every key above it, made when missing.
  Key& Make(const std::u16string& path) {
    for (std::size_t at = path.find(u'\\'); at != std::u16string::npos; at = path.find(u'\\', at + 1)) {
      keys_.emplace(Fold(path.substr(0, at)), Key{path.substr(0, at), {}});
    }
    return keys_.emplace(Fold(path), Key{path, {}}).first->second;
  }
  std::uint32_t SubkeyCount(const std::u16string& folded) const {
    const std::u16string prefix = folded + u"\\";
    std::uint32_t count = 0;
    for (const auto& [path, key] : keys_) {
      if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
          path.find(u'\\', prefix.size()) == std::u16string::npos) {
        ++count;
      }
    }
    return count;
  }
  std::optional<std::uint32_t> Failing(const std::string& method) {
    auto found = rules_.find(method);
    if (found == rules_.end()) return std::nullopt;
    Rule& rule = found->second;
    ++rule.seen;
    if (rule.onlyCall != 0 && rule.seen != rule.onlyCall) return std::nullopt;
    return rule.code;
  }

  std::map<std::u16string, Key> keys_;
  std::map<std::string, Rule> rules_;
};
