#include <windows.h>

#include "shell/calc_app.h"
#include "shell/key_input.h"

namespace {

// The slack covers the shifted drawing of a pressed key.
void RepaintKey(HWND window, const CalcKey& key, int slack) {
    RECT area{key.rect.left, key.rect.top, key.rect.right + slack, key.rect.bottom + slack};
    RedrawWindow(window, &area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace

KeyUpResult KeyUpActionFor(std::uint32_t virtualKey, bool controlHeld) {
    switch (virtualKey) {
        case VK_BACK:
        case VK_DELETE:
            return {KeyUpAction::Command, BackspaceCommand};
        case VK_ESCAPE:
            return {KeyUpAction::Close, 0};
        case VK_INSERT:
            return {KeyUpAction::PostChar, PasteCommand};
        case 'C':
            // Ctrl+C and Ctrl+V copy and paste; a plain C or V is the letter's own command.
            return controlHeld ? KeyUpResult{KeyUpAction::PostChar, CopyCommand} : KeyUpResult{};
        case 'V':
            return controlHeld ? KeyUpResult{KeyUpAction::PostChar, PasteCommand} : KeyUpResult{};
        default:
            return {};
    }
}

int CalcApp::KeyAt(POINT point) const {
    for (std::size_t index = 0; index < keys.size(); ++index) {
        if (PtInRect(&keys[index].rect, point) != FALSE) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

// Press and release act on the key under the pointer; a move over the body raises the
// first key left pressed. Only a release posts, so a click sends its character once.
std::int32_t CalcApp::TrackKey(HWND window, int x, int y, KeyTrackMode mode) {
    const POINT point{x, y};
    if (mode == KeyTrackMode::Leave) {
        for (CalcKey& key : keys) {
            if (key.pressed == 1 && PtInRect(&key.rect, point) == FALSE) {
                key.pressed = 0;
                RepaintKey(window, key, layout.pressedShift);
                return 1;
            }
        }
        return 0;
    }
    const int index = KeyAt(point);
    if (index < 0) {
        return 0;
    }
    CalcKey& key = keys[static_cast<std::size_t>(index)];
    if (mode == KeyTrackMode::HitTest) {
        return 1;
    }
    key.pressed = mode == KeyTrackMode::Press ? 1 : 0;
    if (mode == KeyTrackMode::Release) {
        PostMessageA(window, WM_CHAR, static_cast<WPARAM>(key.commandChar), 0);
    }
    RepaintKey(window, key, layout.pressedShift);
    return 1;
}
