#pragma once
// The name of a parameterised test case, made from a readable text of its parameter:
// gtest takes only letters, digits and underscores, so anything else becomes an underscore.
#include <cctype>
#include <string>

inline std::string CaseName(std::string text) {
  for (char& c : text)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return text;
}
