// TEMPORARY stand-ins for the clipboard and tax members until their own sources land;
// they refuse every command and compute nothing. Delete this file when they do.

#include "engine/calc_engine.h"

std::int32_t CalcEngine::ClipboardKey(bool) {
    BeginCommand();
    return 0;
}

std::int32_t CalcEngine::TaxKey(bool) {
    BeginCommand();
    return 0;
}

void CalcEngine::LoadTaxSettings() {}

bool CalcEngine::QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const {
    return installation_.QueryInstallDir(buffer, size, programFolder);
}

DecimalValue CalcEngine::ComputeTax(DecimalValue amount, AmountKind, AmountKind) const {
    return amount;
}
