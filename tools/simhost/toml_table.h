// Reading the scenario's TOML tables: every key known, every error naming
// the file, the line and the key.
#pragma once

#include <set>
#include <sstream>
#include <string>
#include <vector>

#define TOML_HEADER_ONLY 1
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

namespace simhost {

struct ScenarioError {
  std::string message;
};

// Reads the keys of one table, naming the file, line and key in every error,
// and refuses keys it does not know (a misspelt key would otherwise be
// ignored): Done() after the reads says so.
class TableReader {
 public:
  TableReader(const std::string& file, const toml::table& table, std::string where)
      : file_(file), table_(table), where_(std::move(where)) {}

  // After every key was read: a key that nothing read is an error.
  void Done() const {
    for (const auto& [key, node] : table_) {
      if (!known_.count(std::string(key.str()))) Fail(node, std::string(key.str()), "unknown key");
    }
  }

  template <typename Value>
  void Number(const char* key, Value& out) {
    if (const toml::node* node = Find(key)) {
      if (auto value = node->value<double>()) {
        out = static_cast<Value>(*value);
      } else {
        Fail(*node, key, "expected a number");
      }
    }
  }
  void Boolean(const char* key, bool& out) {
    if (const toml::node* node = Find(key)) {
      if (auto value = node->value<bool>())
        out = *value;
      else
        Fail(*node, key, "expected true or false");
    }
  }
  bool Text(const char* key, std::string& out) {
    if (const toml::node* node = Find(key)) {
      if (auto value = node->value<std::string>()) {
        out = *value;
        return true;
      }
      Fail(*node, key, "expected a text");
    }
    return false;
  }
  void Triple(const char* key, double (&out)[3]) {
    if (const toml::node* node = Find(key)) {
      const toml::array* array = node->as_array();
      if (array == nullptr || array->size() != 3) Fail(*node, key, "expected three numbers");
      for (std::size_t index = 0; index < 3; ++index) {
        auto value = (*array)[index].value<double>();
        if (!value) Fail(*node, key, "expected three numbers");
        out[index] = *value;
      }
    }
  }
  void Pair(const char* key, int& first, int& second) {
    double values[3] = {};
    if (const toml::node* node = Find(key)) {
      const toml::array* array = node->as_array();
      if (array == nullptr || array->size() != 2) Fail(*node, key, "expected two numbers");
      for (std::size_t index = 0; index < 2; ++index) {
        auto value = (*array)[index].value<double>();
        if (!value) Fail(*node, key, "expected two numbers");
        values[index] = *value;
      }
      first = static_cast<int>(values[0]);
      second = static_cast<int>(values[1]);
    }
  }
  const toml::node* Find(const char* key) {
    known_.insert(key);
    return table_.get(key);
  }
  [[noreturn]] void Fail(const toml::node& node, const std::string& key, const std::string& what) const {
    std::ostringstream message;
    message << file_ << ':' << node.source().begin.line << ": " << where_
            << (where_.empty() || key.empty() ? "" : ".") << key << ": " << what;
    throw ScenarioError{message.str()};
  }

 private:
  const std::string& file_;
  const toml::table& table_;
  std::string where_;
  std::set<std::string> known_;
};

inline const toml::table* SubTable(TableReader& reader, const char* key) {
  const toml::node* node = reader.Find(key);
  if (node == nullptr) return nullptr;
  if (!node->is_table()) reader.Fail(*node, key, "expected a table");
  return node->as_table();
}

inline const toml::array* TableArray(TableReader& reader, const char* key) {
  const toml::node* node = reader.Find(key);
  if (node == nullptr) return nullptr;
  const toml::array* array = node->as_array();
  if (array == nullptr || !array->is_array_of_tables())
    reader.Fail(*node, key, "expected [[" + std::string(key) + "]] tables");
  return array;
}

// Reads each table of an array of tables into a new item.
template <typename Item, typename ReadItem>
void ReadArray(const std::string& file, const toml::array* array, const char* name, std::vector<Item>& items,
               ReadItem read) {
  if (array == nullptr) return;
  for (std::size_t index = 0; index < array->size(); ++index) {
    items.emplace_back();
    read(file, *(*array)[index].as_table(), std::string(name) + "[" + std::to_string(index) + "]",
         items.back());
  }
}

}  // namespace simhost
