// A small JSON reader for the command line's input documents: objects, arrays, strings (UTF-8,
// escapes), integers, true, false and null. Numbers with a fraction or an exponent are refused,
// since every amount is whole yen.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace paylark::cli {

class JsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct JsonValue {
  enum class Kind { Null, Bool, Integer, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  std::int64_t integer = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;
};

// Parses a whole document; an error names the byte offset.
JsonValue ParseJson(const std::string& text);

}  // namespace paylark::cli
