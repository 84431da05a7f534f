#pragma once

// Numbers as Japanese documents and spreadsheets write them, folded into the ASCII text the
// calculator reads: full-width digits and signs, yen signs, 円, and accounting negatives.

#include <cstddef>
#include <span>
#include <string_view>

// Writes the folded text, cut to ascii.size() - 1 characters and terminated, into ascii and
// returns its length. Blanks at either end, a leading yen sign and a trailing 円 go; a
// leading minus, △ or ▲, or parentheses around the whole, become one leading "-".
// Characters outside ASCII that have no ASCII form become "?", which ends a number.
std::size_t FoldPastedText(std::u16string_view text, std::span<char> ascii);
