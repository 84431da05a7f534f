#include <windows.h>

#include "shell/calc_app.h"
#include "shell/key_input.h"

namespace {

constexpr int RepaintSlack = 2;  // covers the shifted drawing of a pressed key

void RepaintKey(HWND window, const CalcKey& key) {
    RECT area{key.rect.left, key.rect.top, key.rect.right + RepaintSlack,
              key.rect.bottom + RepaintSlack};
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
        for (CalcKey& key : keys) {
            if (key.pressed == 1 && PtInRect(&key.rect, point) == FALSE) {
                key.pressed = 0;
                RepaintKey(window, key);
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
    RepaintKey(window, key);
    return 1;
}
