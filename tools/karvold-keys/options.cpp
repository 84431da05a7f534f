#include "options.h"

#include <string_view>
#include <utility>

#include "tax/tax_rules.h"

const char* const UsageText =
    "usage: karvold-keys [--rate N] [--rounding truncate|halfup|upfromtenth]\n"
    "                    [--clipboard TEXT] [--trace] [--] KEYS\n"
    "Feeds the command characters of KEYS to the calculator engine, one by one, and prints\n"
    "DISPLAY<TAB>INDICATOR; --trace prints KEY<TAB>RESULT<TAB>STATE<TAB>DISPLAY<TAB>INDICATOR\n"
    "for every key before it. Q or q ends the keys. Options may also be given as --opt=value.\n"
    "  --rate N        the installation's tax rate file holds N (1 to 9 characters: an\n"
    "                  optional sign and digits)\n"
    "  --rounding R    the installation's rounding file chooses R\n"
    "  --clipboard T   the clipboard holds the text T\n";

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsRateText(std::string_view text) {
    if (text.empty() || text.size() > MaxRateLength) {
        return false;
    }
    std::string_view digits = text;
    if (digits.front() == '+' || digits.front() == '-') {
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        return false;
    }
    for (char c : digits) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<TaxRounding> RoundingFor(std::string_view name) {
    if (name == "truncate") {
        return TaxRounding::Truncate;
    }
    if (name == "halfup") {
        return TaxRounding::HalfUp;
    }
    if (name == "upfromtenth") {
        return TaxRounding::UpFromTenth;
    }
    return std::nullopt;
}

ParsedArguments Failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

// Stores one option's value; an empty text on success, else why it was refused.
std::string ApplyOption(KeysOptions& options, std::string_view name, std::string_view value) {
    if (name == "--rate") {
        if (!IsRateText(value)) {
            return "--rate needs a whole number of 1 to 9 characters: " + std::string(value);
        }
        options.rate = std::string(value);
        return {};
    }
    if (name == "--rounding") {
        options.rounding = RoundingFor(value);
        if (!options.rounding) {
            return "--rounding needs truncate, halfup or upfromtenth: " + std::string(value);
        }
        return {};
    }
    options.clipboard = std::string(value);
    return {};
}

bool TakesValue(std::string_view name) {
    return name == "--rate" || name == "--rounding" || name == "--clipboard";
}

}  // namespace

ParsedArguments ParseArguments(std::span<const char* const> arguments) {
    KeysOptions options;
    bool haveKeys = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 2 && argument.starts_with("--");
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!isOption) {
            if (haveKeys) {
                return Failure("more than one KEYS argument");
            }
            options.keys = std::string(argument);
            haveKeys = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        if (name == "--trace" || name == "--help") {
            if (equals != std::string_view::npos) {
                return Failure(std::string(name) + " takes no value");
            }
            (name == "--trace" ? options.trace : options.help) = true;
            continue;
        }
        if (!TakesValue(name)) {
            return Failure("unknown option " + std::string(name));
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return Failure(std::string(name) + " needs a value");
        }
        if (std::string error = ApplyOption(options, name, value); !error.empty()) {
            return Failure(std::move(error));
        }
    }
    if (!haveKeys && !options.help) {
        return Failure("KEYS missing");
    }
    return {std::move(options), {}};
}
