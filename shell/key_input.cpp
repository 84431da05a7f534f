#include "shell/key_input.h"

namespace {

struct KeypadKey {
    std::uint32_t virtualKey;
    char character;
};

// With NumLock off the keypad sends the editing keys without the extended flag.
constexpr KeypadKey KeypadKeys[] = {
    {VirtualKey::Insert, '0'}, {VirtualKey::End, '1'},   {VirtualKey::Down, '2'},
    {VirtualKey::Next, '3'},   {VirtualKey::Left, '4'},  {VirtualKey::Clear, '5'},
    {VirtualKey::Right, '6'},  {VirtualKey::Home, '7'},  {VirtualKey::Up, '8'},
    {VirtualKey::Prior, '9'},  {VirtualKey::Delete, '.'}};

// The character of a keypad key pressed with NumLock off, or 0. Ctrl and Alt make it a
// shortcut or an Alt+number code; Shift+Insert stays the paste shortcut.
char KeypadCharacter(std::uint32_t virtualKey, std::uint32_t keyData, KeyModifiers held) {
    if ((keyData & ExtendedKeyBit) != 0 || held.control || held.alt ||
        (held.shift && virtualKey == VirtualKey::Insert)) {
        return 0;
    }
    for (const KeypadKey& key : KeypadKeys) {
        if (key.virtualKey == virtualKey) {
            return key.character;
        }
    }
    return 0;
}

constexpr KeyResult AllClear{KeyAction::Command, BackspaceCommand};
constexpr KeyResult Copy{KeyAction::PostChar, CopyCommand};
constexpr KeyResult Paste{KeyAction::PostChar, PasteCommand};

}  // namespace

KeyResult KeyboardInput::KeyDown(std::uint32_t virtualKey, std::uint32_t keyData,
                                 KeyModifiers held) {
    if (virtualKey >= VirtualKeyCount) {
        return {};
    }
    SeenDown& key = keys_[virtualKey];
    // Typed like a character, so it repeats while held, and its key-up does nothing.
    if (const char character = KeypadCharacter(virtualKey, keyData, held); character != 0) {
        key = {};
        return {KeyAction::Command, character};
    }
    if ((keyData & KeyWasDownBit) == 0) {
        key = {true, (keyData & ExtendedKeyBit) != 0, held};
    }
    return {};
}

KeyResult KeyboardInput::KeyUp(std::uint32_t virtualKey) {
    if (virtualKey >= VirtualKeyCount || !keys_[virtualKey].seen) {
        return {};
    }
    const SeenDown key = keys_[virtualKey];
    keys_[virtualKey] = {};
    // AltGr holds Ctrl and Alt together to type a character: not a shortcut.
    const bool controlShortcut = key.held.control && !key.held.alt;
    switch (virtualKey) {
        case VirtualKey::Back:
            return AllClear;
        case VirtualKey::Delete:
            return key.extended ? AllClear : KeyResult{};
        case VirtualKey::Escape:
            return {KeyAction::Close, 0};
        case VirtualKey::Insert:
            if (key.held.alt) {
                return {};
            }
            return key.held.control ? Copy : Paste;
        case VirtualKey::LetterC:
            return controlShortcut ? Copy : KeyResult{};
        case VirtualKey::LetterV:
            return controlShortcut ? Paste : KeyResult{};
        default:
            return {};
    }
}
