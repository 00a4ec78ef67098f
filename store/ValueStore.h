#pragma once
// Typed access to an INI file by a path such as "/Settings/NoteAlpha".
// Readers leave the destination untouched when the key is missing; writers
// write through at once.

#include <cstdint>
#include <string>

class ValueStore {
public:
    virtual ~ValueStore() = default;

    virtual bool ReadUInt16(const std::wstring& path, uint16_t& value) = 0;
    virtual bool ReadUInt32(const std::wstring& path, uint32_t& value) = 0;
    virtual bool ReadUInt8(const std::wstring& path, uint8_t& value) = 0;
    virtual bool ReadInt(const std::wstring& path, int32_t& value) = 0;
    virtual bool ReadLong(const std::wstring& path, int32_t& value) = 0;
    virtual bool ReadFloat(const std::wstring& path, float& value) = 0;
    virtual bool ReadString(const std::wstring& path, std::wstring& value) = 0;
    virtual bool ReadBool(const std::wstring& path, bool& value) = 0;
    virtual bool WriteUInt16(const std::wstring& path, uint16_t value) = 0;
    virtual bool WriteUInt32(const std::wstring& path, uint32_t value) = 0;
    virtual bool WriteUInt8(const std::wstring& path, uint8_t value) = 0;
    virtual bool WriteInt(const std::wstring& path, int32_t value) = 0;
    virtual bool WriteFloat(const std::wstring& path, float value) = 0;
    virtual bool WriteString(const std::wstring& path, const std::wstring& value) = 0;
    virtual bool WriteBool(const std::wstring& path, bool value) = 0;
};
