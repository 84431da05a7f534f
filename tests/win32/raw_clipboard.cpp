#include "raw_clipboard.h"

#include <cstring>

namespace {

HWND MakeMessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
}

DWORD WINAPI TryOpenFromOtherWindow(void*) {
    HWND window = MakeMessageWindow();
    bool opened = window != nullptr && OpenClipboard(window);
    if (opened) {
        CloseClipboard();
    }
    DestroyWindow(window);
    return opened ? 1 : 0;
}

}  // namespace

bool PutBlock(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) {
        return false;
    }
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool taken = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    if (!taken) {
        GlobalFree(block);
    }
    return taken;
}

bool PutText(const std::string& text) { return PutBlock(CF_TEXT, text.c_str(), text.size() + 1); }

bool PutUnicodeText(const std::wstring& text) {
    return PutBlock(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool PutBitmapOnly() {
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    if (bitmap == nullptr || !OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    bool taken = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return taken;
}

bool PutNothing() {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    CloseClipboard();
    return true;
}

bool HasFormat(UINT format) { return IsClipboardFormatAvailable(format) != FALSE; }

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return "<cannot open>";
    }
    std::string text = "<none>";
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        const char* bytes = static_cast<const char*>(GlobalLock(block));
        text = bytes != nullptr ? std::string(bytes, strnlen(bytes, GlobalSize(block))) : "<locked>";
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

bool ClipboardIsClosed() {
    HANDLE thread = CreateThread(nullptr, 0, TryOpenFromOtherWindow, nullptr, 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    WaitForSingleObject(thread, INFINITE);
    DWORD opened = 0;
    GetExitCodeThread(thread, &opened);
    CloseHandle(thread);
    return opened == 1;
}

ClipboardHolder::ClipboardHolder()
    : opened_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Hold, this, 0, nullptr)) {
    WaitForSingleObject(opened_, INFINITE);
}

ClipboardHolder::~ClipboardHolder() {
    SetEvent(release_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(release_);
    CloseHandle(opened_);
}

DWORD WINAPI ClipboardHolder::Hold(void* self) {
    auto* holder = static_cast<ClipboardHolder*>(self);
    HWND window = MakeMessageWindow();
    holder->holding_ = window != nullptr && OpenClipboard(window);
    SetEvent(holder->opened_);
    WaitForSingleObject(holder->release_, INFINITE);
    if (holder->holding_) {
        CloseClipboard();
    }
    DestroyWindow(window);
    return 0;
}
