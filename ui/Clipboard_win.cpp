#include "ui/Clipboard_win.h"

#include <cstring>

namespace {

// Another program may hold the clipboard for a moment; a few tries ride it out.
bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(WCHAR);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    auto* target = static_cast<WCHAR*>(GlobalLock(memory));
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) target[i] = static_cast<WCHAR>(text[i]);
    target[text.size()] = 0;
    GlobalUnlock(memory);
    if (!OpenClipboardPatiently(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    // The clipboard owns the memory only when it took it.
    if (!ok) GlobalFree(memory);
    return ok;
}

bool ReadClipboardText(HWND owner, std::wstring& text) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
    if (!OpenClipboardPatiently(owner)) return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* source = static_cast<const WCHAR*>(GlobalLock(data))) {
            // The data need not be terminated where the block ends: stop at the
            // block's size whatever comes first.
            const size_t limit = GlobalSize(data) / sizeof(WCHAR);
            size_t length = 0;
            while (length < limit && source[length] != 0) ++length;
            text.assign(source, source + length);
            GlobalUnlock(data);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}
