// What hosts get wrong: null pointers everywhere, indices and percentages at
// and past their ends, tone levels that are not numbers, and ID texts of
// awkward lengths and bytes. Shared by the table of expected results and by the
// host scenario that runs them on every build.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "VelmoraSound.h"

struct BadInput {
  std::string description;
  std::function<int()> call;
  std::function<bool(int)> acceptable;
};

// Every export with null pointers; `acceptable` holds while the reference
// card is open. The last but one closes the card's controls.
std::vector<BadInput> NullPointers();

extern const unsigned int kAwkwardIndices[5];
extern const int kAwkwardPercentages[7];
extern const double kAwkwardToneLevels[5];
std::vector<std::string> AwkwardIdTexts();

// The level setters that take a percentage, the auxiliary one included.
extern int(VELMORA_API* const kPercentSetters[7])(int, int*);
