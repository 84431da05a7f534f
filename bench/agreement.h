#pragma once

#include <cstdio>

// Before anything is timed: every number type must compute the same values on the same
// operands (within one unit of the twelfth digit of the exact result, since each cuts or
// rounds in its own way) and write the same texts. Prints each disagreement.
bool CheckAgreement(std::FILE* report);
