#include "shell/accessible.h"

#include <oleacc.h>

#include <array>
#include <new>
#include <string_view>

#include "resources/resource_ids.h"
#include "shell/calc_app.h"
#include "shell/main_window.h"
#include "shell/shift_jis.h"

namespace {

using LresultFromObjectEntry = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectEntry = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using SysAllocStringLenEntry = BSTR(WINAPI*)(const OLECHAR*, UINT);
using CoInitializeExEntry = HRESULT(WINAPI*)(void*, DWORD);

struct SystemEntries {
    LresultFromObjectEntry lresultFromObject = nullptr;
    CreateStdAccessibleObjectEntry createStdAccessibleObject = nullptr;
    SysAllocStringLenEntry sysAllocStringLen = nullptr;
};

// The platform forces these: the libraries a screen reader needs stay loaded for the run,
// and only a screen reader's first request loads them.
SystemEntries systemEntries;
bool entriesTried = false;
bool entriesFound = false;

template <typename Entry>
bool Find(const char* library, const char* name, Entry& entry) {
    // Never from the current or program folder: only the system's own copies.
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(found));
    return entry != nullptr;
}

const SystemEntries* Entries() {
    if (!entriesTried) {
        entriesTried = true;
        CoInitializeExEntry initialize = nullptr;
        entriesFound = Find("ole32.dll", "CoInitializeEx", initialize) &&
                       Find("oleaut32.dll", "SysAllocStringLen", systemEntries.sysAllocStringLen) &&
                       Find("oleacc.dll", "LresultFromObject", systemEntries.lresultFromObject) &&
                       Find("oleacc.dll", "CreateStdAccessibleObject",
                            systemEntries.createStdAccessibleObject);
        // Marshalling the object to another process needs an apartment on this thread; it
        // lasts as long as the thread, and a thread that already has one keeps it.
        if (entriesFound) {
            initialize(nullptr, COINIT_APARTMENTTHREADED);
        }
    }
    return entriesFound ? &systemEntries : nullptr;
}

constexpr LONG ChildCount = DisplayChildId + KeyCount;

bool IsKey(LONG child) {
    return child >= FirstKeyChildId && child < FirstKeyChildId + KeyCount;
}

std::size_t KeyIndex(LONG child) {
    return static_cast<std::size_t>(child - FirstKeyChildId);
}

void SetChild(VARIANT* variant, LONG child) {
    variant->vt = VT_I4;
    variant->lVal = child;
}

// A string-table entry of the window's module, in UTF-16 whatever the system's code page.
std::wstring_view ResourceText(HWND window, UINT id) {
    return StringResource(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)),
                          id);
}

// What the display shows, in reading order: the indicator, then the number.
class ShownText {
  public:
    ShownText(HWND window, const ShownDisplay& shown) {
        switch (shown.indicator.kind) {
            case IndicatorKind::None:
                break;
            case IndicatorKind::Error:
                Append(ResourceText(window, ErrorTextIds[shown.indicator.textIndex]));
                Append(L" ");
                break;
            case IndicatorKind::Tax:
                Append(ResourceText(window, TaxLabelIds[shown.indicator.textIndex]));
                Append(L" ");
                break;
            case IndicatorKind::Memory:
                AppendAscii(MemoryMark);
                Append(L" ");
                break;
        }
        AppendAscii(shown.number.data());
    }

    std::wstring_view View() const { return {text_.data(), length_}; }

  private:
    void AppendAscii(const char* part) {
        for (; *part != '\0'; ++part) {
            const wchar_t wide = static_cast<unsigned char>(*part);
            Append(std::wstring_view(&wide, 1));
        }
    }

    void Append(std::wstring_view part) {
        for (const wchar_t character : part) {
            if (length_ < text_.size()) {
                text_[length_++] = character;
            }
        }
    }

    std::array<wchar_t, TextBufferSize + FormatBufferSize> text_{};  // indicator, space, number
    std::size_t length_ = 0;
};

}  // namespace

// COM interfaces have no virtual destructor by design: only Release deletes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CalcAccessible final : public IAccessible {
  public:
    CalcAccessible(HWND window, const SystemEntries& entries)
        : window_(window), entries_(entries) {}

    void Disconnect() { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }

    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // No type information: clients call the accessibility methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        const HRESULT found = Start(parent, Self()).result;
        if (FAILED(found)) {
            return found;
        }
        return entries_.createStdAccessibleObject(window_, OBJID_WINDOW, __uuidof(IDispatch),
                                                  reinterpret_cast<void**>(parent));
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        const HRESULT found = Start(count, Self()).result;
        if (FAILED(found)) {
            return found;
        }
        *count = ChildCount;
        return S_OK;
    }

    // The children are simple elements, not objects of their own.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        const auto [found, id] = Start(object, child);
        if (FAILED(found)) {
            return found;
        }
        return id == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [](LONG id) -> UINT {
            if (id == CHILDID_SELF) {
                return IDS_ACCESSIBLE_CLIENT;
            }
            return id == DisplayChildId ? IDS_ACCESSIBLE_DISPLAY
                                        : IDS_KEY_NAME_FIRST + static_cast<UINT>(KeyIndex(id));
        });
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const auto [found, id] = Start(value, child);
        if (FAILED(found)) {
            return found;
        }
        if (id != DisplayChildId) {
            return DISP_E_MEMBERNOTFOUND;
        }
        return Allocate(ShownText(window_, App()->Shown()).View(), value);
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Unsupported(child, text);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const auto [found, id] = Start(role, child);
        if (FAILED(found)) {
            return found;
        }
        const LONG roles[] = {ROLE_SYSTEM_CLIENT, ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_PUSHBUTTON};
        SetChild(role, roles[id < FirstKeyChildId ? id : FirstKeyChildId]);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const auto [found, id] = Start(state, child);
        if (FAILED(found)) {
            return found;
        }
        LONG flags = IsWindowVisible(window_) != FALSE ? 0 : STATE_SYSTEM_INVISIBLE;
        if (id == DisplayChildId) {
            flags |= STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE;
            flags |= HasFocus() ? STATE_SYSTEM_FOCUSED : 0;
        } else if (IsKey(id) && App()->keys[KeyIndex(id)].pressed == 1) {
            flags |= STATE_SYSTEM_PRESSED;
        }
        SetChild(state, flags);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Unsupported(child, text);
    }

    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (topic == nullptr) {
            return E_POINTER;
        }
        *topic = 0;
        return Unsupported(child, file);
    }

    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return KeyText(child, shortcut, IDS_KEY_SHORTCUT_FIRST);
    }

    // The display holds the focus while the window does, so that its changes are read.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        const HRESULT found = Start(focus, Self()).result;
        if (FAILED(found)) {
            return found;
        }
        if (HasFocus()) {
            SetChild(focus, DisplayChildId);
            return S_OK;
        }
        return GetForegroundWindow() == window_ ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        const HRESULT found = Start(selection, Self()).result;
        return FAILED(found) ? found : DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return KeyText(child, action, IDS_ACCESSIBLE_PRESS, 0);
    }

    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override {
        const HRESULT found = Resolve(child).result;
        return FAILED(found) ? found : DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        const auto [found, id] = Resolve(child);
        if (FAILED(found)) {
            return found;
        }
        RECT area{};
        GetClientRect(window_, &area);
        if (id == DisplayChildId) {
            area = App()->DisplayStrip();
        } else if (IsKey(id)) {
            area = App()->keys[KeyIndex(id)].rect;
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }

    // Only the logical order is offered: the display, then the keys row by row.
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        const auto [found, id] = Start(end, start);
        if (FAILED(found)) {
            return found;
        }
        LONG next = CHILDID_SELF;
        switch (direction) {
            case NAVDIR_FIRSTCHILD:
            case NAVDIR_LASTCHILD:
                if (id == CHILDID_SELF) {
                    next = direction == NAVDIR_FIRSTCHILD ? DisplayChildId : ChildCount;
                }
                break;
            case NAVDIR_NEXT:
            case NAVDIR_PREVIOUS:
                if (id != CHILDID_SELF) {
                    next = direction == NAVDIR_NEXT ? id + 1 : id - 1;
                }
                break;
            case NAVDIR_UP:
            case NAVDIR_DOWN:
            case NAVDIR_LEFT:
            case NAVDIR_RIGHT:
                return DISP_E_MEMBERNOTFOUND;
            default:
                return E_INVALIDARG;
        }
        if (next < DisplayChildId || next > ChildCount) {
            return S_FALSE;
        }
        SetChild(end, next);
        return S_OK;
    }

    // The same test the window uses for the pointer: the key rectangles, then the display.
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        const HRESULT found = Start(child, Self()).result;
        if (FAILED(found)) {
            return found;
        }
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client{};
        GetClientRect(window_, &client);
        if (PtInRect(&client, point) == FALSE) {
            return S_FALSE;
        }
        const int key = App()->KeyAt(point);
        const RECT display = App()->DisplayStrip();
        if (key >= 0) {
            SetChild(child, FirstKeyChildId + key);
        } else {
            SetChild(child, PtInRect(&display, point) != FALSE ? DisplayChildId : CHILDID_SELF);
        }
        return S_OK;
    }

    // A key does what a click does.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const auto [found, id] = Resolve(child);
        if (FAILED(found)) {
            return found;
        }
        if (!IsKey(id)) {
            return DISP_E_MEMBERNOTFOUND;
        }
        return App()->PressKeyFor(window_, KeyIndex(id)) ? S_OK : E_FAIL;
    }

    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR) override {
        return accSelect(0, child);
    }

    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR) override {
        return accSelect(0, child);
    }

  private:
    ~CalcAccessible() = default;

    // Null once the window is gone or the application has left it.
    CalcApp* App() const { return window_ != nullptr ? AppOf(window_) : nullptr; }

    // Calls arrive on the window's thread, whose focus this is.
    bool HasFocus() const { return GetFocus() == window_; }

    struct Named {
        HRESULT result;
        LONG id;
    };

    // The child id a call names: CHILDID_SELF (also for an omitted one), the display or a key.
    Named Resolve(const VARIANT& child) const {
        if (App() == nullptr) {
            return {RPC_E_DISCONNECTED, CHILDID_SELF};
        }
        if (child.vt == VT_EMPTY) {
            return {S_OK, CHILDID_SELF};
        }
        if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > ChildCount) {
            return {E_INVALIDARG, CHILDID_SELF};
        }
        return {S_OK, child.lVal};
    }

    static VARIANT Self() {
        VARIANT self{};
        self.vt = VT_EMPTY;
        return self;
    }

    static void Clear(BSTR* out) { *out = nullptr; }
    static void Clear(IDispatch** out) { *out = nullptr; }
    static void Clear(LONG* out) { *out = 0; }
    static void Clear(VARIANT* out) { out->vt = VT_EMPTY; }

    // Every call starts alike: a missing out-parameter fails, a given one is emptied first.
    template <typename Out>
    Named Start(Out* out, const VARIANT& child) const {
        if (out == nullptr) {
            return {E_POINTER, CHILDID_SELF};
        }
        Clear(out);
        return Resolve(child);
    }

    HRESULT Allocate(std::wstring_view text, BSTR* out) const {
        *out = entries_.sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    template <typename IdOf>
    HRESULT Text(const VARIANT& child, BSTR* out, IdOf idOf) const {
        const auto [found, id] = Start(out, child);
        if (FAILED(found)) {
            return found;
        }
        return Allocate(ResourceText(window_, idOf(id)), out);
    }

    // A string only the keys have: from the first id onward by key index, step 0 for one
    // string shared by all keys.
    HRESULT KeyText(const VARIANT& child, BSTR* out, UINT firstId, UINT step = 1) const {
        const auto [found, id] = Start(out, child);
        if (FAILED(found)) {
            return found;
        }
        if (!IsKey(id)) {
            return DISP_E_MEMBERNOTFOUND;
        }
        const UINT resource = firstId + step * static_cast<UINT>(KeyIndex(id));
        return Allocate(ResourceText(window_, resource), out);
    }

    HRESULT Unsupported(const VARIANT& child, BSTR* out) const {
        const HRESULT found = Start(out, child).result;
        return FAILED(found) ? found : DISP_E_MEMBERNOTFOUND;
    }

    LONG references_ = 1;
    HWND window_;
    const SystemEntries& entries_;
};
#pragma GCC diagnostic pop

LRESULT AccessibleHolder::Answer(HWND window, WPARAM wParam) {
    const SystemEntries* entries = Entries();
    if (entries == nullptr) {
        return E_FAIL;
    }
    if (object_ == nullptr) {
        object_ = new (std::nothrow) CalcAccessible(window, *entries);
        if (object_ == nullptr) {
            return E_OUTOFMEMORY;
        }
    }
    return entries->lresultFromObject(__uuidof(IAccessible), wParam, object_);
}

void AccessibleHolder::Disconnect() {
    if (object_ != nullptr) {
        object_->Disconnect();
        object_->Release();
        object_ = nullptr;
    }
}
