#pragma once

// What the engine needs from the platform, as small interfaces handed to it when it is
// made. The Windows program implements them with Win32 calls; tests and the headless
// driver use the in-memory ones of memory_platform.h.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

inline constexpr std::size_t PathBufferSize = 260;

// The business application's installation: its registered folders and its files.
class Installation {
  public:
    virtual ~Installation() = default;

    // Reads the registered program folder ("InstalledDir") or data folder
    // ("InstalledDataDir") as a terminated string into buffer. False when the key or the
    // value is missing or the value does not fit in size bytes with its terminator.
    virtual bool QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const = 0;

    // Reads the first bytes of the file at path into bytes; the count read (0 for an empty
    // file), or nothing when the file cannot be opened.
    virtual std::optional<std::size_t> ReadFileStart(const char* path,
                                                     std::span<std::uint8_t> bytes) const = 0;
};

struct LocalDate {
    int year = 0;
    int month = 0;  // 1 = January
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDate Today() const = 0;
};

// The system clipboard's plain text.
class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's contents with text. False when the clipboard cannot be
    // opened or no memory is left; the clipboard then keeps what it had.
    virtual bool SetText(std::string_view text) = 0;

    // Copies at most size - 1 bytes of the clipboard's text, up to its terminator, into
    // buffer and terminates it. False when the clipboard cannot be opened, holds no text,
    // or no memory is left.
    virtual bool GetText(char* buffer, std::size_t size) = 0;
};

struct EnginePlatform {
    const Installation& installation;
    const Clock& clock;
    Clipboard& clipboard;
};
