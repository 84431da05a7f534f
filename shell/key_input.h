#pragma once

// What a keyboard key does, decided from its key messages and the modifiers held when it went
// down, so tests can check it without a keyboard.

#include <array>
#include <cstddef>
#include <cstdint>

enum class KeyAction {
    None,      // the window does not use the message: the system's default handling gets it
    Command,   // run the character through the engine
    PostChar,  // post the character to the window
    Close,
};

struct KeyResult {
    KeyAction action = KeyAction::None;
    char character = 0;

    bool operator==(const KeyResult&) const = default;
};

inline constexpr char BackspaceCommand = 8;
inline constexpr char CopyCommand = 'S';
inline constexpr char PasteCommand = 'D';

// The virtual-key codes this window uses, as Windows numbers them.
namespace VirtualKey {
inline constexpr std::uint32_t Back = 0x08;
inline constexpr std::uint32_t Clear = 0x0C;
inline constexpr std::uint32_t Escape = 0x1B;
inline constexpr std::uint32_t Prior = 0x21;
inline constexpr std::uint32_t Next = 0x22;
inline constexpr std::uint32_t End = 0x23;
inline constexpr std::uint32_t Home = 0x24;
inline constexpr std::uint32_t Left = 0x25;
inline constexpr std::uint32_t Up = 0x26;
inline constexpr std::uint32_t Right = 0x27;
inline constexpr std::uint32_t Down = 0x28;
inline constexpr std::uint32_t Insert = 0x2D;
inline constexpr std::uint32_t Delete = 0x2E;
inline constexpr std::uint32_t LetterC = 'C';
inline constexpr std::uint32_t LetterV = 'V';
}  // namespace VirtualKey

// Bits of a key message's lParam.
inline constexpr std::uint32_t ExtendedKeyBit = 1u << 24;  // the dedicated editing keys
inline constexpr std::uint32_t KeyWasDownBit = 1u << 30;   // set on a repeat

struct KeyModifiers {
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// The window's keyboard: what each key-down and key-up does. A key-up acts only on a key this
// window saw go down, once, with the modifiers held then: its key-down may have gone to a
// menu, a dialog, a move loop or another program, and a key held while the window got the
// focus arrives only as repeats.
class KeyboardInput {
  public:
    // keyData is the key message's lParam.
    KeyResult KeyDown(std::uint32_t virtualKey, std::uint32_t keyData, KeyModifiers held);
    KeyResult KeyUp(std::uint32_t virtualKey);
    // The focus went elsewhere: whatever is released there was not pressed here.
    void Forget() { keys_.fill({}); }

  private:
    struct SeenDown {
        bool seen = false;
        bool extended = false;
        KeyModifiers held;
    };
    static constexpr std::size_t VirtualKeyCount = 256;
    std::array<SeenDown, VirtualKeyCount> keys_{};
};
