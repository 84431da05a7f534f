#pragma once

// In-memory platform for tests and the headless driver: an installation whose registry
// values and files are held in maps, a fixed date and a clipboard string.

#include <map>
#include <optional>
#include <string>

#include "engine/platform.h"

class MemoryInstallation : public Installation {
  public:
    std::optional<std::string> programFolder;  // "InstalledDir"; nothing: value missing
    std::optional<std::string> dataFolder;     // "InstalledDataDir"
    bool keyPresent = true;
    std::map<std::string, std::string> files;  // full path -> bytes

    bool QueryInstallDir(char* buffer, std::size_t size, bool program) const override;
    std::optional<std::size_t> ReadFileStart(const char* path,
                                             std::span<std::uint8_t> bytes) const override;

    // Stores the rate and the rounding file, each one that is given, below folder.
    void PutTaxFiles(const std::string& folder, const std::optional<std::string>& rate,
                     const std::optional<std::string>& rounding);
};

class FixedClock : public Clock {
  public:
    explicit FixedClock(LocalDate date) : date_(date) {}
    LocalDate Today() const override { return date_; }

  private:
    LocalDate date_;
};

// The machine's own local date, from the C library (for the headless driver).
class SystemClock : public Clock {
  public:
    LocalDate Today() const override;
};

class MemoryClipboard : public Clipboard {
  public:
    std::optional<std::string> text;  // nothing: the clipboard holds no text
    bool available = true;            // false: another program holds it open
    bool memoryLeft = true;           // false: no block can be allocated for the text

    bool SetText(std::string_view newText) override;
    bool GetText(char* buffer, std::size_t size) override;
};

// A machine without the installation (no registry key, no files) on the date given: tests give
// a fixed one, so that the rate by date they expect holds on any day.
struct MemoryPlatform {
    MemoryInstallation installation;
    FixedClock clock;
    MemoryClipboard clipboard;

    explicit MemoryPlatform(LocalDate today) : clock(today) { installation.keyPresent = false; }
    EnginePlatform Get() { return {installation, clock, clipboard}; }
};
