// Prints the reader targets of the registry, one a line, for the build,
// which makes a fuzz target of each.
#include <iostream>

#include "fixtures/fuzz_entry.h"

int main() {
  for (const auto& name : talvo::testing::Fuzz_Readers()) std::cout << name << '\n';
}
