#pragma once

// What a released keyboard key does; decided from the virtual-key code and the Ctrl key
// alone, so tests can check it without a keyboard.

#include <cstdint>

enum class KeyUpAction {
    None,
    Command,   // run the character through the engine (all clear)
    PostChar,  // post the character to the window
    Close,
};

struct KeyUpResult {
    KeyUpAction action = KeyUpAction::None;
    char character = 0;
};

inline constexpr char BackspaceCommand = 8;
inline constexpr char CopyCommand = 'S';
inline constexpr char PasteCommand = 'D';

KeyUpResult KeyUpActionFor(std::uint32_t virtualKey, bool controlHeld);
