#pragma once

// The text karvold-keys prints for the engine's display and for each key.

#include <string>

#include "engine/calc_engine.h"

// The displayed number with thousands commas.
std::string DisplayText(const CalcEngine& engine);

// What the display shows at its top left: an error text, else the tax label, else "M"
// for a nonzero memory, else nothing. UTF-8.
std::string IndicatorText(const CalcEngine& engine);

// A command byte as a trace shows it: printable ASCII as itself, \r, \b, else \xNN.
std::string KeyText(unsigned char key);
