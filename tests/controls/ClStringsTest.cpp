#include "controls/clexcpt.h"
#include "controls/clsr.h"

#include <gtest/gtest.h>

namespace {

TEST(ClStrings, LooksUpKnownIdsAndNamesUnknownOnes) {
  const struct {
    int id;
    const char* text;
  } cases[] = {
      {30168, "Unknown"},  // below the first entry
      {30169, "Duplicate command found while adding a new command to the table"},
      {30193, "Invalid page index value"},
      {30194, "Unknown"},  // a gap between entries
      {30195, "Invalid font. Non toTop oriented tabs require a True-Type font"},
      {30282, "Wy"},
      {30371, "F"},
      {34542, "Unknown"},  // past the last entry
      {-1, "Unknown"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetClString(c.id), QString::fromUtf8(c.text)) << c.id;
}

TEST(ClStrings, ExceptionCarriesTheTableTextAndItsNumber) {
  try {
    throw EClException(ClStr::TableNotFound);
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Command table not found or command table index out of range");
    EXPECT_EQ(dynamic_cast<const EClException&>(error).MessageId(), 30170);
  }
}

}  // namespace
