#pragma once

// What a released keyboard key does; decided from the virtual-key code and the Ctrl key
// alone, so tests can check it without a keyboard.

#include <bitset>
#include <cstddef>
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

// Which keys this window saw go down since their last key-up. A key-up acts only on a key
// seen down here: its key-down may have gone to a menu, a dialog, a move loop or another
// program, and a key held while the window got the focus arrives only as repeats.
class KeysSeenDown {
  public:
    // keyData is the key message's lParam; its previous-state bit marks a repeat.
    void NoteDown(std::uint32_t virtualKey, std::uint32_t keyData) {
        if (virtualKey < VirtualKeyCount && (keyData & KeyWasDownBit) == 0) {
            seen_.set(virtualKey);
        }
    }
    // True when the key-up should act; the key counts as released either way.
    bool TakeUp(std::uint32_t virtualKey) {
        if (virtualKey >= VirtualKeyCount || !seen_.test(virtualKey)) {
            return false;
        }
        seen_.reset(virtualKey);
        return true;
    }
    // The focus went elsewhere: whatever is released there was not pressed here.
    void Forget() { seen_.reset(); }

  private:
    static constexpr std::size_t VirtualKeyCount = 256;
    static constexpr std::uint32_t KeyWasDownBit = 1u << 30;  // the previous-state bit
    std::bitset<VirtualKeyCount> seen_;
};
