#pragma once

// The command line of karvold-keys.

#include <optional>
#include <span>
#include <string>

#include "engine/calc_engine.h"

struct KeysOptions {
    std::optional<std::string> rate;  // the rate file's text: a sign and digits, 1 to 9 bytes
    std::optional<TaxRounding> rounding;
    std::optional<std::string> clipboard;
    bool trace = false;
    bool help = false;
    std::string keys;
};

struct ParsedArguments {
    std::optional<KeysOptions> options;
    std::string error;  // why there are no options
};

// arguments excludes the program name.
ParsedArguments ParseArguments(std::span<const char* const> arguments);

extern const char* const UsageText;
