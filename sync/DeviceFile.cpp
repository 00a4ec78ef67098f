#include "sync/DeviceFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace Sync {

namespace {

constexpr char kMagic[8] = {'V', 'N', 'S', 'Y', 'N', 'C', '\r', '\n'};
// The payload of one note without strings, versions, font or alarm.
constexpr size_t kMinNoteSize = 16 + 10 + 1 + 20 + 4 + 4 + 4 + 20 + 5 + 16 + 2;
// 256 MB: far beyond any real set of notes, and a bound a damaged header can
// never make the reader go past.
constexpr uint32_t kMaxPayload = 256u << 20;

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void U8(uint8_t v) { out_ += static_cast<char>(v); }
    void Bool(bool v) { U8(v ? 1 : 0); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void U64(uint64_t v) {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
    void String(const std::wstring& s) {
        U32(static_cast<uint32_t>(s.size()));
        const size_t at = out_.size();
        out_.resize(at + 2 * s.size());
        char* p = &out_[0] + at;
        for (wchar_t c : s) {
            *p++ = static_cast<char>(c & 0xFF);
            *p++ = static_cast<char>((c >> 8) & 0xFF);
        }
    }
    void Stamp(const Sync::Stamp& s) {
        U64(static_cast<uint64_t>(s.wallMs));
        U32(s.counter);
        U64(s.device);
    }
    void Font(const LogFontData& f) {
        for (int32_t v : {f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight}) {
            U32(static_cast<uint32_t>(v));
        }
        for (uint8_t v : {f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision,
                          f.lfClipPrecision, f.lfQuality, f.lfPitchAndFamily}) {
            U8(v);
        }
        for (wchar_t c : f.lfFaceName) U16(static_cast<uint16_t>(c));
    }
    void Time(const SystemTimeData& t) {
        for (uint16_t v : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond,
                           t.wMilliseconds}) {
            U16(v);
        }
    }

private:
    std::string& out_;
};

// Strict: a read past the end fails and every later read fails too.
class Reader {
public:
    Reader(const std::string& in, size_t from) : in_(in), pos_(from) {}
    bool Ok() const { return ok_; }
    size_t Remaining() const { return ok_ ? in_.size() - pos_ : 0; }

    uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
    bool Bool() { return U8() != 0; }
    uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
    uint64_t U64() { return Little(8); }
    std::wstring String() {
        const uint32_t length = U32();
        if (length > Remaining() / 2) {
            Fail();
            return std::wstring();
        }
        std::wstring s(length, L'\0');
        const unsigned char* p = reinterpret_cast<const unsigned char*>(in_.data()) + pos_;
        for (auto& c : s) {
            c = static_cast<wchar_t>(p[0] | (p[1] << 8));
            p += 2;
        }
        pos_ += 2 * static_cast<size_t>(length);
        return s;
    }
    Sync::Stamp Stamp() {
        Sync::Stamp s;
        s.wallMs = static_cast<int64_t>(U64());
        s.counter = U32();
        s.device = U64();
        return s;
    }
    void Font(LogFontData& f) {
        for (int32_t* v :
             {&f.lfHeight, &f.lfWidth, &f.lfEscapement, &f.lfOrientation, &f.lfWeight}) {
            *v = static_cast<int32_t>(U32());
        }
        for (uint8_t* v :
             {&f.lfItalic, &f.lfUnderline, &f.lfStrikeOut, &f.lfCharSet, &f.lfOutPrecision,
              &f.lfClipPrecision, &f.lfQuality, &f.lfPitchAndFamily}) {
            *v = U8();
        }
        for (wchar_t& c : f.lfFaceName) c = static_cast<wchar_t>(U16());
        // The font API reads the face name up to its terminator.
        f.lfFaceName[LogFontData::kFaceSize - 1] = 0;
    }
    void Time(SystemTimeData& t) {
        for (uint16_t* v : {&t.wYear, &t.wMonth, &t.wDayOfWeek, &t.wDay, &t.wHour, &t.wMinute,
                            &t.wSecond, &t.wMilliseconds}) {
            *v = U16();
        }
    }

private:
    // The next `bytes` bytes as a little-endian number; 0 past the end.
    uint64_t Little(size_t bytes) {
        if (Remaining() < bytes) return Fail();
        uint64_t v = 0;
        for (size_t i = bytes; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(in_[pos_ + i]);
        pos_ += bytes;
        return v;
    }
    uint8_t Fail() {
        ok_ = false;
        pos_ = in_.size();
        return 0;
    }
    const std::string& in_;
    size_t pos_;
    bool ok_ = true;
};

void WriteNote(Writer& w, const SyncNote& n) {
    w.U64(n.id.hi);
    w.U64(n.id.lo);
    for (uint16_t v :
         {n.created.wYear, n.created.wMonth, n.created.wDay, n.created.wHour, n.created.wMinute}) {
        w.U16(v);
    }
    w.Bool(n.content.deleted);
    w.Stamp(n.content.stamp);
    w.U32(static_cast<uint32_t>(n.content.versions.counts.size()));
    for (const auto& [device, count] : n.content.versions.counts) {
        w.U64(device);
        w.U32(count);
    }
    w.String(n.content.text);
    w.String(n.content.title);
    const Attributes& a = n.attributes;
    w.Stamp(a.stamp);
    w.U8(static_cast<uint8_t>(a.priority));
    w.Bool(a.locked);
    w.Bool(a.hasCustomFont);
    if (a.hasCustomFont) w.Font(a.font);
    w.Bool(a.alarmEnabled);
    w.Bool(a.hasAlarm);
    if (a.hasAlarm) w.Time(a.alarmTime);
    for (int32_t v : {n.rect.left, n.rect.top, n.rect.right, n.rect.bottom}) {
        w.U32(static_cast<uint32_t>(v));
    }
    w.Bool(n.hidden);
    w.Bool(n.alwaysOnTop);
}

bool ReadNote(Reader& r, SyncNote& n) {
    n.id.hi = r.U64();
    n.id.lo = r.U64();
    for (uint16_t* v : {&n.created.wYear, &n.created.wMonth, &n.created.wDay, &n.created.wHour,
                        &n.created.wMinute}) {
        *v = r.U16();
    }
    n.content.deleted = r.Bool();
    n.content.stamp = r.Stamp();
    const uint32_t versions = r.U32();
    if (versions > r.Remaining() / 12) return false;
    for (uint32_t i = 0; i < versions; ++i) {
        const uint64_t device = r.U64();
        const uint32_t count = r.U32();
        // Versions in any order or repeated are taken as the most each one says.
        if (count == 0) continue;
        n.content.versions = Join(n.content.versions, VersionVector{{{device, count}}});
    }
    n.content.text = r.String();
    n.content.title = r.String();
    Attributes& a = n.attributes;
    a.stamp = r.Stamp();
    a.priority = std::min<int>(r.U8(), kPriorityVeryLow);
    a.locked = r.Bool();
    a.hasCustomFont = r.Bool();
    if (a.hasCustomFont) r.Font(a.font);
    a.alarmEnabled = r.Bool();
    a.hasAlarm = r.Bool();
    if (a.hasAlarm) r.Time(a.alarmTime);
    for (int32_t* v : {&n.rect.left, &n.rect.top, &n.rect.right, &n.rect.bottom}) {
        *v = static_cast<int32_t>(r.U32());
    }
    n.hidden = r.Bool();
    n.alwaysOnTop = r.Bool();
    // A tombstone holds no text.
    if (n.content.deleted && (!n.content.text.empty() || !n.content.title.empty())) {
        n.content.text.clear();
        n.content.title.clear();
    }
    return r.Ok();
}

void WritePlacement(Writer& w, const Placement& p) {
    w.Stamp(p.stamp);
    for (int32_t v : {p.rect.left, p.rect.top, p.rect.right, p.rect.bottom}) {
        w.U32(static_cast<uint32_t>(v));
    }
    w.Bool(p.hidden);
    w.Bool(p.alwaysOnTop);
}

void ReadPlacement(Reader& r, Placement& p) {
    p.stamp = r.Stamp();
    for (int32_t* v : {&p.rect.left, &p.rect.top, &p.rect.right, &p.rect.bottom}) {
        *v = static_cast<int32_t>(r.U32());
    }
    p.hidden = r.Bool();
    p.alwaysOnTop = r.Bool();
}

// Stamp, rect, two flags.
constexpr size_t kPlacementSize = 20 + 16 + 2;

uint32_t ReadU32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

}  // namespace

uint32_t Crc32(const char* data, size_t size) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string SerializeDevice(const DeviceState& state) {
    std::vector<const SyncNote*> notes;
    notes.reserve(state.notes.size());
    for (const SyncNote& note : state.notes) notes.push_back(&note);
    return SerializeDevice(state, notes);
}

std::string SerializeDevice(const DeviceState& state, const std::vector<const SyncNote*>& notes) {
    std::string payload;
    size_t guess = 64;
    for (const SyncNote* note : notes) {
        guess += kMinNoteSize + 2 * (note->content.text.size() + note->content.title.size()) + 108;
    }
    payload.reserve(guess);
    Writer w(payload);
    w.U64(state.device);
    w.String(state.deviceName);
    w.Stamp(state.clock);
    w.U32(static_cast<uint32_t>(notes.size()));
    for (const SyncNote* note : notes) WriteNote(w, *note);
    const bool placed = std::any_of(notes.begin(), notes.end(),
                                    [](const SyncNote* note) { return note->placement.Sent(); });
    if (placed) {
        for (const SyncNote* note : notes) WritePlacement(w, note->placement);
    }

    std::string out(kMagic, sizeof kMagic);
    Writer h(out);
    h.U32(placed ? kDeviceFileVersion : 1);
    h.U32(static_cast<uint32_t>(payload.size()));
    h.U32(Crc32(payload.data(), payload.size()));
    out += payload;
    return out;
}

ParseState ParseDevice(const std::string& bytes, DeviceState& state) {
    if (bytes.size() < sizeof kMagic) {
        // The first bytes of a file still arriving.
        return std::equal(bytes.begin(), bytes.end(), kMagic) ? ParseState::Incomplete
                                                              : ParseState::NotOurs;
    }
    if (!std::equal(kMagic, kMagic + sizeof kMagic, bytes.begin())) return ParseState::NotOurs;
    if (bytes.size() < kDeviceFileHeaderSize) return ParseState::Incomplete;
    const uint32_t version = ReadU32At(bytes, 8);
    if (version > kDeviceFileVersion) return ParseState::NewerVersion;
    if (version == 0) return ParseState::Damaged;
    const uint32_t length = ReadU32At(bytes, 12);
    if (length > kMaxPayload) return ParseState::Damaged;
    if (bytes.size() != kDeviceFileHeaderSize + length) return ParseState::Incomplete;
    if (Crc32(bytes.data() + kDeviceFileHeaderSize, length) != ReadU32At(bytes, 16)) {
        return ParseState::Incomplete;
    }

    Reader r(bytes, kDeviceFileHeaderSize);
    DeviceState read;
    read.device = r.U64();
    read.deviceName = r.String();
    read.clock = r.Stamp();
    const uint32_t count = r.U32();
    if (count > r.Remaining() / kMinNoteSize) return ParseState::Damaged;
    read.notes.resize(count);
    for (SyncNote& note : read.notes) {
        if (!ReadNote(r, note)) return ParseState::Damaged;
    }
    if (version >= 2) {
        if (count > r.Remaining() / kPlacementSize) return ParseState::Damaged;
        bool placed = false;
        for (SyncNote& note : read.notes) {
            ReadPlacement(r, note.placement);
            placed = placed || note.placement.Sent();
        }
        // The writer makes version 2 only for a placement sent.
        if (!placed) return ParseState::Damaged;
    }
    if (!r.Ok() || r.Remaining() != 0) return ParseState::Damaged;
    state = std::move(read);
    return ParseState::Whole;
}

std::wstring DeviceIdText(uint64_t device) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring s(16, L'0');
    for (int i = 15; i >= 0; --i) {
        s[i] = kHex[device & 0xF];
        device >>= 4;
    }
    return s;
}

std::wstring DeviceFileName(const std::wstring& pcName, uint64_t device) {
    constexpr size_t kMaxName = 40;
    std::wstring name;
    for (wchar_t c : pcName) {
        if (name.size() == kMaxName) break;
        const bool refused = c < 0x20 || c == 0x7F || std::wcschr(L"\\/:*?\"<>|", c) != nullptr;
        name += refused ? L'_' : c;
    }
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    while (!name.empty() && name.front() == L' ') name.erase(0, 1);
    if (name.empty()) name = L"PC";
    return name + L"-" + DeviceIdText(device) + kDeviceFileExtension;
}

namespace {

bool EndsWithNoCase(const std::wstring& s, const std::wstring& end) {
    if (s.size() < end.size()) return false;
    for (size_t i = 0; i < end.size(); ++i) {
        if (std::towlower(s[s.size() - end.size() + i]) != std::towlower(end[i])) return false;
    }
    return true;
}

}  // namespace

bool IsDeviceFileName(const std::wstring& fileName) {
    return fileName.size() > std::wcslen(kDeviceFileExtension) &&
           EndsWithNoCase(fileName, kDeviceFileExtension);
}

bool IsOwnName(const std::wstring& fileName, uint64_t device) {
    return EndsWithNoCase(fileName, L"-" + DeviceIdText(device) + kDeviceFileExtension);
}

}  // namespace Sync
