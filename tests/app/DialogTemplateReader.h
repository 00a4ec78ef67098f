#pragma once
// Reads an extended dialog template from the executable's resources, the way
// the dialog manager sees it, so that tests can check the bytes windres wrote.

#include <windows.h>

#include <string>
#include <vector>

struct DialogItemData {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring className;  // predefined classes by name ("Button", "Edit", "Static", ...)
    std::wstring text;

    RECT Rect() const { return RECT{x, y, x + cx, y + cy}; }
};

struct DialogData {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring typeface;
    std::vector<DialogItemData> items;

    const DialogItemData* Find(int id) const {
        for (const auto& item : items)
            if (item.id == id) return &item;
        return nullptr;
    }
    const DialogItemData* FindText(const std::wstring& text) const {
        for (const auto& item : items)
            if (item.text == text) return &item;
        return nullptr;
    }
};

class DialogTemplateReader {
public:
    // False when the resource is missing, is not an extended template or ends early.
    static bool Read(int resourceId, DialogData& out) {
        HMODULE module = GetModuleHandleW(nullptr);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_DIALOG);
        if (!found) return false;
        HGLOBAL loaded = LoadResource(module, found);
        if (!loaded) return false;
        DialogTemplateReader r(static_cast<const BYTE*>(LockResource(loaded)),
                               SizeofResource(module, found));
        return r.Parse(out);
    }

private:
    DialogTemplateReader(const BYTE* data, DWORD size) : base(data), end(size) {}

    bool Parse(DialogData& d) {
        WORD version = 0, signature = 0, count = 0;
        DWORD helpId = 0;
        if (!Get(version) || !Get(signature) || version != 1 || signature != 0xFFFF) return false;
        if (!Get(helpId) || !Get(d.exStyle) || !Get(d.style) || !Get(count)) return false;
        if (!Get(d.x) || !Get(d.y) || !Get(d.cx) || !Get(d.cy)) return false;
        std::wstring menu, windowClass;
        if (!SzOrOrd(menu) || !SzOrOrd(windowClass) || !String(d.caption)) return false;
        if (d.style & DS_SETFONT) {
            WORD weight = 0;
            BYTE italic = 0, charset = 0;
            if (!Get(d.pointSize) || !Get(weight) || !Get(italic) || !Get(charset)) return false;
            if (!String(d.typeface)) return false;
        }
        for (WORD i = 0; i < count; ++i) {
            DialogItemData item;
            DWORD id = 0;
            WORD extra = 0;
            pos = (pos + 3) & ~size_t(3);
            if (!Get(helpId) || !Get(item.exStyle) || !Get(item.style)) return false;
            if (!Get(item.x) || !Get(item.y) || !Get(item.cx) || !Get(item.cy)) return false;
            if (!Get(id) || !SzOrOrd(item.className) || !SzOrOrd(item.text) || !Get(extra))
                return false;
            if (extra > end - pos) return false;
            pos += extra;
            item.id = static_cast<int>(id);
            d.items.push_back(item);
        }
        return true;
    }

    template <class T>
    bool Get(T& value) {
        if (end - pos < sizeof(T)) return false;
        memcpy(&value, base + pos, sizeof(T));
        pos += sizeof(T);
        return true;
    }

    bool String(std::wstring& text) {
        text.clear();
        for (;;) {
            WORD c = 0;
            if (!Get(c)) return false;
            if (c == 0) return true;
            text += static_cast<wchar_t>(c);
        }
    }

    // A string, or 0xFFFF and an ordinal (a predefined class, named here).
    bool SzOrOrd(std::wstring& text) {
        WORD first = 0;
        if (end - pos < sizeof(WORD)) return false;
        memcpy(&first, base + pos, sizeof(first));
        if (first != 0xFFFF) return String(text);
        pos += sizeof(WORD);
        WORD ordinal = 0;
        if (!Get(ordinal)) return false;
        static const wchar_t* const kClasses[] = {L"Button",  L"Edit",      L"Static",
                                                  L"ListBox", L"ScrollBar", L"ComboBox"};
        if (ordinal >= 0x80 && ordinal <= 0x85)
            text = kClasses[ordinal - 0x80];
        else
            text = L"#" + std::to_wstring(ordinal);
        return true;
    }

    const BYTE* base;
    size_t end;
    size_t pos = 0;
};
