#pragma once
// Reads an extended dialog template from the executable's resources, the way
// the dialog manager sees it, so that tests can check the bytes windres wrote.

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

struct DialogItemData {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring className;  // predefined classes by name ("Button", "Edit", "Static", ...)
    std::wstring text;
    RECT Rect() const { return RECT{x, y, x + cx, y + cy}; }
};

struct DialogData {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption, typeface;
    WORD pointSize = 0;
    std::vector<DialogItemData> items;

    // By identifier, or by text when one is given.
    const DialogItemData* Find(int id, const wchar_t* text = nullptr) const {
        for (const auto& item : items)
            if (text ? item.text == text : item.id == id) return &item;
        return nullptr;
    }
};

class DialogTemplateReader {
public:
    // False when the resource is missing, is not an extended template or ends early.
    static bool Read(int resourceId, DialogData& out) {
        HMODULE module = GetModuleHandleW(nullptr);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_DIALOG);
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        if (!loaded) return false;
        DialogTemplateReader r(static_cast<const BYTE*>(LockResource(loaded)),
                               SizeofResource(module, found));
        return r.Parse(out);
    }

private:
    DialogTemplateReader(const BYTE* data, DWORD size) : base_(data), end_(size) {}

    bool Parse(DialogData& d) {
        WORD version = 0, signature = 0, count = 0, weight = 0;
        DWORD helpId = 0, id = 0;
        BYTE italic = 0, charset = 0;
        std::wstring menu, windowClass;
        if (!Get(version, signature, helpId, d.exStyle, d.style, count, d.x, d.y, d.cx, d.cy) ||
            version != 1 || signature != 0xFFFF || !SzOrOrd(menu) || !SzOrOrd(windowClass) ||
            !String(d.caption))
            return false;
        if ((d.style & DS_SETFONT) &&
            (!Get(d.pointSize, weight, italic, charset) || !String(d.typeface)))
            return false;
        for (WORD i = 0; i < count; ++i) {
            DialogItemData item;
            DWORD exStyle = 0;
            WORD extra = 0;
            pos_ = (pos_ + 3) & ~size_t(3);
            if (!Get(helpId, exStyle, item.style, item.x, item.y, item.cx, item.cy, id) ||
                !SzOrOrd(item.className) || !SzOrOrd(item.text) || !Get(extra) ||
                extra > end_ - pos_)
                return false;
            pos_ += extra;
            item.id = static_cast<int>(id);
            d.items.push_back(item);
        }
        return true;
    }

    template <class... T>
    bool Get(T&... values) {
        return (GetOne(values) && ...);
    }
    template <class T>
    bool GetOne(T& value) {
        if (end_ - pos_ < sizeof(T)) return false;
        memcpy(&value, base_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return true;
    }

    bool String(std::wstring& text) {
        text.clear();
        for (WORD c = 0; GetOne(c);) {
            if (c == 0) return true;
            text += static_cast<wchar_t>(c);
        }
        return false;
    }

    // A string, or 0xFFFF and an ordinal (a predefined class, named here).
    bool SzOrOrd(std::wstring& text) {
        if (end_ - pos_ < 2 || base_[pos_] != 0xFF || base_[pos_ + 1] != 0xFF) return String(text);
        pos_ += 2;
        WORD ordinal = 0;
        if (!GetOne(ordinal)) return false;
        static const wchar_t* const kClasses[] = {L"Button",  L"Edit",      L"Static",
                                                  L"ListBox", L"ScrollBar", L"ComboBox"};
        text = ordinal >= 0x80 && ordinal <= 0x85 ? kClasses[ordinal - 0x80]
                                                  : L"#" + std::to_wstring(ordinal);
        return true;
    }

    const BYTE* base_;
    size_t end_;
    size_t pos_ = 0;
};
