#pragma once

// The clipboard as other programs see it, through the raw Win32 calls: what the tests put
// there and what they read back, independent of the code under test.

#include <windows.h>

#include <string>

// Each Put empties the clipboard first, as another program's copy would.
bool PutBlock(UINT format, const void* bytes, std::size_t size);
bool PutText(const std::string& text);  // CF_TEXT with its terminator
bool PutUnicodeText(const std::wstring& text);
bool PutBitmapOnly();
bool PutNothing();

bool HasFormat(UINT format);

// The CF_TEXT block's text up to its terminator (never past its size); "<none>" without text.
std::string ClipboardText();

// Whether another program's window could open the clipboard now, that is whether this
// thread has closed it. (A second open from the thread that holds it would succeed.)
bool ClipboardIsClosed();

// Another program holding the clipboard open with a window of its own, until destroyed.
class ClipboardHolder {
public:
    ClipboardHolder();
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    bool Holding() const { return holding_; }

private:
    static DWORD WINAPI Hold(void* self);

    HANDLE opened_;
    HANDLE release_;
    bool holding_ = false;
    HANDLE thread_;
};
