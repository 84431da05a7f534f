#pragma once

// The engine's platform on Windows: the installation's registry key and data files, the
// local date and the system clipboard, through the ANSI Win32 calls. Nothing is kept open
// between calls: every operation opens, uses and closes its key, file or clipboard.

#include <windows.h>

#include "engine/platform.h"

// A failed folder query leaves an empty string in the buffer.
class Win32Installation : public Installation {
  public:
    bool QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const override;
    std::optional<std::size_t> ReadFileStart(const char* path,
                                             std::span<std::uint8_t> bytes) const override;
};

class Win32Clock : public Clock {
  public:
    LocalDate Today() const override;
};

// Copies CF_TEXT in the system's ANSI code page; pastes CF_UNICODETEXT (or CF_TEXT when only
// that is offered) folded into the ASCII number text of shell/paste_text.h. Opened with the
// calculator's window, which thus owns what it copies.
class Win32Clipboard : public Clipboard {
  public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    bool SetText(std::string_view text) override;
    bool GetText(char* buffer, std::size_t size) override;

  private:
    HWND owner_;
};
