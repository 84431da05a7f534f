#include <windows.h>

#include "shell/calc_app.h"
#include "shell/key_input.h"

namespace {

// The slack covers the shifted drawing of a pressed key.
void RepaintKey(HWND window, const CalcKey& key, int slack) {
    RECT area{key.rect.left, key.rect.top, key.rect.right + slack, key.rect.bottom + slack};
    RedrawWindow(window, &area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The keyboard's rules number the keys without <windows.h>.
static_assert(VirtualKey::Back == VK_BACK && VirtualKey::Clear == VK_CLEAR &&
              VirtualKey::Escape == VK_ESCAPE && VirtualKey::Prior == VK_PRIOR &&
              VirtualKey::Next == VK_NEXT && VirtualKey::End == VK_END &&
              VirtualKey::Home == VK_HOME && VirtualKey::Left == VK_LEFT &&
              VirtualKey::Up == VK_UP && VirtualKey::Right == VK_RIGHT &&
              VirtualKey::Down == VK_DOWN && VirtualKey::Insert == VK_INSERT &&
              VirtualKey::Delete == VK_DELETE);

}  // namespace

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
        for (std::size_t index = 0; index < keys.size(); ++index) {
            if (keys[index].pressed == 1 && PtInRect(&keys[index].rect, point) == FALSE) {
                SetPressed(window, index, 0);
                return 1;
            }
        }
        return 0;
    }
    const int found = KeyAt(point);
    if (found < 0) {
        return 0;
    }
    if (mode == KeyTrackMode::HitTest) {
        return 1;
    }
    const auto index = static_cast<std::size_t>(found);
    SetPressed(window, index, mode == KeyTrackMode::Press ? 1 : 0);
    if (mode == KeyTrackMode::Release) {
        PostMessageA(window, WM_CHAR, static_cast<WPARAM>(keys[index].commandChar), 0);
    }
    return 1;
}

// A raised key goes down and up again, as under the pointer; one the pointer holds stays.
bool CalcApp::PressKeyFor(HWND window, std::size_t index) {
    if (keys[index].pressed == 0) {
        SetPressed(window, index, 1);
        SetPressed(window, index, 0);
    }
    const auto character = static_cast<unsigned char>(keys[index].commandChar);
    return PostMessageA(window, WM_CHAR, character, 0) != FALSE;
}

// Every key the pointer acts on is repainted; screen readers hear only of a changed look.
void CalcApp::SetPressed(HWND window, std::size_t index, std::int32_t pressed) {
    CalcKey& key = keys[index];
    const bool changed = key.pressed != pressed;
    key.pressed = pressed;
    RepaintKey(window, key, layout.pressedShift);
    if (changed) {
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT,
                       FirstKeyChildId + static_cast<LONG>(index));
    }
}
