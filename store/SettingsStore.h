#pragma once
// Typed access to one INI file by paths such as "/Settings/NoteAlpha": the text
// between the first character and the last '/' is the section, the rest the key;
// "/ShowNotes" is key ShowNotes in section [Root]. Nothing is cached: every read
// sees the file as it is now and every write replaces the file at once. The one
// exception is a burst of reads (ReadBurst), such as the dozens of keys read at
// start-up: it reads the file once and answers every read from that.
//
// A write the file refuses (disk full, file locked, folder read-only) is not
// dropped: the value is kept as pending, reads of its key answer with it, and
// every later write, or RetryPendingWrites, tries to write all pending values
// again in one go.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/IniFile.h"

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

    // Writes the pending values again; true when none is left.
    bool RetryPendingWrites();
    bool HasPendingWrites() const { return !pending_.empty(); }
    // Told after every attempt to write the file, with whether every value has
    // reached it. Not told for writes refused for their path or text.
    void SetWriteObserver(std::function<void(bool written)> observer) {
        observer_ = std::move(observer);
    }

    // While one lives, the store's reads take the file as it was at the first of
    // them, read once; a write through the store is seen by the reads after it.
    // Bursts nest.
    class ReadBurst {
    public:
        explicit ReadBurst(SettingsStore& store) : store_(store) { ++store_.bursts_; }
        ~ReadBurst() {
            if (--store_.bursts_ == 0) store_.snapshot_.reset();
        }
        ReadBurst(const ReadBurst&) = delete;
        ReadBurst& operator=(const ReadBurst&) = delete;

    private:
        SettingsStore& store_;
    };

    // Splits a path into section and key; false for a path shorter than two
    // characters or without '/'.
    static bool SplitPath(const std::wstring& path, std::wstring& section, std::wstring& key);

private:
    bool Split(const std::wstring& path);
    bool ReadInteger(const std::wstring& path, uint32_t& value);
    bool ReadText(const std::wstring& path);
    bool WriteText(const std::wstring& path);
    bool FindPending(std::wstring& value) const;
    bool FlushPending();

    const std::wstring filePath_;
    // Scratch of the last operation; the store is not reentrant.
    std::wstring section_;
    std::wstring key_;
    std::wstring valueText_;
    // Values not yet in the file, oldest first, one per key.
    std::vector<IniEntry> pending_;
    std::function<void(bool)> observer_;
    // The file as a burst of reads found it, once one of them has read it.
    int bursts_ = 0;
    std::optional<IniDocument> snapshot_;
};
