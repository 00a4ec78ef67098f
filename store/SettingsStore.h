#pragma once
// Typed access to one INI file by paths such as "/Settings/NoteAlpha": the text
// between the first character and the last '/' is the section, the rest the key;
// "/ShowNotes" is key ShowNotes in section [Root]. Nothing is cached: every read
// sees the file as it is now and every write replaces the file at once.

#include <string>

#include "store/ValueStore.h"

class SettingsStore : public ValueStore {
public:
    explicit SettingsStore(const std::wstring& filePath);

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool ReadUInt16(const std::wstring& path, uint16_t& value) override;
    bool ReadUInt32(const std::wstring& path, uint32_t& value) override;
    bool ReadUInt8(const std::wstring& path, uint8_t& value) override;
    bool ReadInt(const std::wstring& path, int32_t& value) override;
    bool ReadLong(const std::wstring& path, int32_t& value) override;
    bool ReadFloat(const std::wstring& path, float& value) override;
    bool ReadString(const std::wstring& path, std::wstring& value) override;
    bool ReadBool(const std::wstring& path, bool& value) override;
    bool WriteUInt16(const std::wstring& path, uint16_t value) override;
    bool WriteUInt32(const std::wstring& path, uint32_t value) override;
    bool WriteUInt8(const std::wstring& path, uint8_t value) override;
    bool WriteInt(const std::wstring& path, int32_t value) override;
    bool WriteFloat(const std::wstring& path, float value) override;
    bool WriteString(const std::wstring& path, const std::wstring& value) override;
    bool WriteBool(const std::wstring& path, bool value) override;

    const std::wstring& FilePath() const { return filePath_; }

    // Splits a path into section and key; false for a path shorter than two
    // characters or without '/'.
    static bool SplitPath(const std::wstring& path, std::wstring& section, std::wstring& key);

private:
    bool Split(const std::wstring& path);
    bool ReadInteger(const std::wstring& path, uint32_t& value);
    bool ReadText(const std::wstring& path);
    bool WriteText(const std::wstring& path);

    const std::wstring filePath_;
    // Scratch of the last operation; the store is not reentrant.
    std::wstring section_;
    std::wstring key_;
    std::wstring valueText_;
};
