#include "store/SettingsStore.h"

#include <cstdarg>
#include <cwchar>

#include "store/IniFile.h"

namespace {

std::wstring Format(const wchar_t* format, ...) {
    wchar_t buffer[64];
    va_list args;
    va_start(args, format);
    const int n = std::vswprintf(buffer, sizeof(buffer) / sizeof(buffer[0]), format, args);
    va_end(args);
    return n > 0 ? std::wstring(buffer, static_cast<size_t>(n)) : std::wstring();
}

}  // namespace

SettingsStore::SettingsStore(const std::wstring& filePath) : filePath_(filePath) {}

bool SettingsStore::SplitPath(const std::wstring& path, std::wstring& section, std::wstring& key) {
    const size_t slash = path.rfind(L'/');
    if (slash == std::wstring::npos || path.size() < 2) return false;
    if (slash == 0) {
        section = L"Root";
    } else {
        // The first character is skipped whatever it is; paths begin with '/'.
        section = path.substr(1, slash - 1);
    }
    key = path.substr(slash + 1);
    return true;
}

bool SettingsStore::Split(const std::wstring& path) {
    return SplitPath(path, section_, key_);
}

bool SettingsStore::FindPending(std::wstring& value) const {
    for (const IniEntry& e : pending_) {
        if (IniNamesEqual(e.section, section_) && IniNamesEqual(e.key, key_)) {
            value = e.value;
            return true;
        }
    }
    return false;
}

bool SettingsStore::ReadInteger(const std::wstring& path, uint32_t& value) {
    // A found key reads as the number its text starts with (an empty one as 0),
    // as the profile reader answers; a missing key is told from any stored value.
    if (!ReadText(path)) return false;
    value = IniParseInt(valueText_);
    return true;
}

bool SettingsStore::ReadText(const std::wstring& path) {
    if (!Split(path)) return false;
    if (FindPending(valueText_)) return true;
    if (bursts_ == 0) return IniReadString(filePath_, section_, key_, valueText_);
    if (!snapshot_) {
        // A file that cannot be read answers every key as missing, as it would
        // one read at a time.
        snapshot_.emplace();
        snapshot_->Load(filePath_);
    }
    return snapshot_->Find(section_, key_, valueText_);
}

bool SettingsStore::WriteText(const std::wstring& path) {
    if (!Split(path) || !IniAcceptsEntry(section_, key_, valueText_)) return false;
    bool replaced = false;
    for (IniEntry& e : pending_) {
        if (IniNamesEqual(e.section, section_) && IniNamesEqual(e.key, key_)) {
            e.value = valueText_;
            replaced = true;
        }
    }
    if (!replaced) pending_.push_back(IniEntry{section_, key_, valueText_});
    return FlushPending();
}

bool SettingsStore::FlushPending() {
    if (IniWriteStrings(filePath_, pending_)) pending_.clear();
    // Reads of a burst after a write see the file as written.
    snapshot_.reset();
    const bool written = pending_.empty();
    if (observer_) observer_(written);
    return written;
}

bool SettingsStore::RetryPendingWrites() {
    if (pending_.empty()) return true;
    return FlushPending();
}

bool SettingsStore::ReadUInt16(const std::wstring& path, uint16_t& value) {
    uint32_t v;
    if (!ReadInteger(path, v)) return false;
    value = static_cast<uint16_t>(v);
    return true;
}

bool SettingsStore::ReadUInt32(const std::wstring& path, uint32_t& value) {
    return ReadInteger(path, value);
}

bool SettingsStore::ReadUInt8(const std::wstring& path, uint8_t& value) {
    uint32_t v;
    if (!ReadInteger(path, v)) return false;
    value = static_cast<uint8_t>(v);
    return true;
}

bool SettingsStore::ReadInt(const std::wstring& path, int32_t& value) {
    uint32_t v;
    if (!ReadInteger(path, v)) return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool SettingsStore::ReadLong(const std::wstring& path, int32_t& value) {
    return ReadInt(path, value);
}

bool SettingsStore::ReadFloat(const std::wstring& path, float& value) {
    if (!ReadText(path)) return false;
    // Found even when the text holds no number; the destination then keeps its value.
    float parsed;
    if (std::swscanf(valueText_.c_str(), L"%f", &parsed) == 1) value = parsed;
    return true;
}

bool SettingsStore::ReadString(const std::wstring& path, std::wstring& value) {
    if (!ReadText(path)) return false;
    value = valueText_;
    return true;
}

bool SettingsStore::ReadBool(const std::wstring& path, bool& value) {
    uint32_t v;
    if (!ReadInteger(path, v)) return false;
    value = v != 0;
    return true;
}

bool SettingsStore::WriteUInt16(const std::wstring& path, uint16_t value) {
    return WriteUInt32(path, value);
}

bool SettingsStore::WriteUInt32(const std::wstring& path, uint32_t value) {
    valueText_ = Format(L"%u", value);
    return WriteText(path);
}

bool SettingsStore::WriteUInt8(const std::wstring& path, uint8_t value) {
    return WriteUInt32(path, value);
}

bool SettingsStore::WriteInt(const std::wstring& path, int32_t value) {
    valueText_ = Format(L"%d", value);
    return WriteText(path);
}

bool SettingsStore::WriteFloat(const std::wstring& path, float value) {
    valueText_ = Format(L"%f", static_cast<double>(value));
    return WriteText(path);
}

bool SettingsStore::WriteString(const std::wstring& path, const std::wstring& value) {
    valueText_ = value;
    return WriteText(path);
}

bool SettingsStore::WriteBool(const std::wstring& path, bool value) {
    valueText_ = value ? L"1" : L"0";
    return WriteText(path);
}
