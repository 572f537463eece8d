// Keeps the suite buildable until its first test arrives.
#include <gtest/gtest.h>
