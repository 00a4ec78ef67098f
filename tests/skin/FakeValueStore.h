#pragma once
// An in-memory ValueStore: values are kept as text by path, as an INI file would.

#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "store/ValueStore.h"

class FakeValueStore : public ValueStore {
public:
    FakeValueStore(std::initializer_list<std::pair<const std::wstring, std::wstring>> init = {})
        : values(init) {}

    std::map<std::wstring, std::wstring> values;

    bool ReadUInt16(const std::wstring& p, uint16_t& v) override { return ReadNumber(p, v); }
    bool ReadUInt32(const std::wstring& p, uint32_t& v) override { return ReadNumber(p, v); }
    bool ReadUInt8(const std::wstring& p, uint8_t& v) override { return ReadNumber(p, v); }
    bool ReadInt(const std::wstring& p, int32_t& v) override { return ReadNumber(p, v); }
    bool ReadLong(const std::wstring& p, int32_t& v) override { return ReadNumber(p, v); }
    bool ReadFloat(const std::wstring& p, float& v) override {
        auto it = values.find(p);
        if (it != values.end()) v = std::wcstof(it->second.c_str(), nullptr);
        return it != values.end();
    }
    bool ReadString(const std::wstring& p, std::wstring& v) override {
        auto it = values.find(p);
        if (it != values.end()) v = it->second;
        return it != values.end();
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
        if (it != values.end()) v = static_cast<T>(std::wcstoll(it->second.c_str(), nullptr, 10));
        return it != values.end();
    }
    template <typename T>
    bool Write(const std::wstring& p, T v) {
        values[p] = std::to_wstring(v);
        return true;
    }
};
