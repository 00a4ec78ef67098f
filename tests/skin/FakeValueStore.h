#pragma once
// An in-memory ValueStore: values are kept as text by path, as an INI file would.

#include <cstdlib>
#include <map>
#include <string>

#include "store/ValueStore.h"

class FakeValueStore : public ValueStore {
public:
    std::map<std::wstring, std::wstring> values;

    void Set(const std::wstring& path, const std::wstring& text) { values[path] = text; }
    void Set(const std::wstring& path, long long number) { values[path] = std::to_wstring(number); }

    bool ReadUInt16(const std::wstring& p, uint16_t& v) override { return ReadNumber(p, v); }
    bool ReadUInt32(const std::wstring& p, uint32_t& v) override { return ReadNumber(p, v); }
    bool ReadUInt8(const std::wstring& p, uint8_t& v) override { return ReadNumber(p, v); }
    bool ReadInt(const std::wstring& p, int32_t& v) override { return ReadNumber(p, v); }
    bool ReadLong(const std::wstring& p, int32_t& v) override { return ReadNumber(p, v); }
    bool ReadFloat(const std::wstring& p, float& v) override {
        auto it = values.find(p);
        if (it == values.end()) return false;
        v = std::wcstof(it->second.c_str(), nullptr);
        return true;
    }
    bool ReadString(const std::wstring& p, std::wstring& v) override {
        auto it = values.find(p);
        if (it == values.end()) return false;
        v = it->second;
        return true;
    }
    bool ReadBool(const std::wstring& p, bool& v) override {
        int32_t n = 0;
        if (!ReadNumber(p, n)) return false;
        v = n != 0;
        return true;
    }
    bool WriteUInt16(const std::wstring& p, uint16_t v) override { return Write(p, v); }
    bool WriteUInt32(const std::wstring& p, uint32_t v) override { return Write(p, v); }
    bool WriteUInt8(const std::wstring& p, uint8_t v) override { return Write(p, v); }
    bool WriteInt(const std::wstring& p, int32_t v) override { return Write(p, v); }
    bool WriteFloat(const std::wstring& p, float v) override { return Write(p, v); }
    bool WriteString(const std::wstring& p, const std::wstring& v) override {
        values[p] = v;
        return true;
    }
    bool WriteBool(const std::wstring& p, bool v) override { return Write(p, v ? 1 : 0); }

private:
    template <typename T>
    bool ReadNumber(const std::wstring& p, T& v) {
        auto it = values.find(p);
        if (it == values.end()) return false;
        v = static_cast<T>(std::wcstoll(it->second.c_str(), nullptr, 10));
        return true;
    }
    template <typename T>
    bool Write(const std::wstring& p, T v) {
        values[p] = std::to_wstring(v);
        return true;
    }
};
