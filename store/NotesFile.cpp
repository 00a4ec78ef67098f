#include "store/NotesFile.h"

#include <algorithm>
#include <limits>

#include "store/AlarmRule.h"
#include "store/FileIo.h"

namespace {

// The smallest record: rect, two empty strings, the fixed fields, no optional parts.
constexpr size_t kMinRecordSize = 16 + 4 + 4 + 1 + 10 + 1 + 1 + 1 + 1 + 1 + 1;

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
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }

    void String(const std::wstring& s) {
        U32(static_cast<uint32_t>(s.size()));
        size_t at = out_.size();
        out_.resize(at + 2 * s.size());
        char* p = &out_[0] + at;
        for (wchar_t c : s) {
            *p++ = static_cast<char>(c & 0xFF);
            *p++ = static_cast<char>((c >> 8) & 0xFF);
        }
    }

    void Font(const LogFontData& f) {
        I32(f.lfHeight);
        I32(f.lfWidth);
        I32(f.lfEscapement);
        I32(f.lfOrientation);
        I32(f.lfWeight);
        U8(f.lfItalic);
        U8(f.lfUnderline);
        U8(f.lfStrikeOut);
        U8(f.lfCharSet);
        U8(f.lfOutPrecision);
        U8(f.lfClipPrecision);
        U8(f.lfQuality);
        U8(f.lfPitchAndFamily);
        for (wchar_t c : f.lfFaceName) U16(static_cast<uint16_t>(c));
    }

    void Time(const SystemTimeData& t) {
        U16(t.wYear);
        U16(t.wMonth);
        U16(t.wDayOfWeek);
        U16(t.wDay);
        U16(t.wHour);
        U16(t.wMinute);
        U16(t.wSecond);
        U16(t.wMilliseconds);
    }

private:
    std::string& out_;
};

// Each read either fills its destination whole or leaves it untouched and ends
// the input there: the bytes left over are too few for the field, so nothing
// after it can be read in its place.
class Reader {
public:
    explicit Reader(const std::string& in) : in_(in) {}

    size_t Remaining() const { return in_.size() - pos_; }
    bool AtEnd() const { return pos_ >= in_.size(); }
    bool CutShort() const { return cutShort_; }

    bool U8(uint8_t& v) {
        if (Remaining() < 1) return Short();
        v = Byte(pos_++);
        return true;
    }
    bool Bool(bool& v) {
        uint8_t b;
        if (!U8(b)) return false;
        v = b != 0;
        return true;
    }
    bool U16(uint16_t& v) {
        if (Remaining() < 2) return Short();
        v = static_cast<uint16_t>(Byte(pos_) | (Byte(pos_ + 1) << 8));
        pos_ += 2;
        return true;
    }
    bool U32(uint32_t& v) {
        if (Remaining() < 4) return Short();
        v = static_cast<uint32_t>(Byte(pos_)) | (static_cast<uint32_t>(Byte(pos_ + 1)) << 8) |
            (static_cast<uint32_t>(Byte(pos_ + 2)) << 16) |
            (static_cast<uint32_t>(Byte(pos_ + 3)) << 24);
        pos_ += 4;
        return true;
    }
    bool I32(int32_t& v) {
        uint32_t u;
        if (!U32(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }

    // A string claiming more units than remain takes the units that are there:
    // the start of a cut text is worth more to its owner than nothing.
    void String(std::wstring& s) {
        uint32_t length = 0;
        if (!U32(length)) return;
        size_t available = Remaining() / 2;
        size_t take = std::min<size_t>(length, available);
        std::wstring out(take, L'\0');
        for (size_t i = 0; i < take; ++i) {
            out[i] = static_cast<wchar_t>(Byte(pos_) | (Byte(pos_ + 1) << 8));
            pos_ += 2;
        }
        if (take < length) Short();
        s.swap(out);
    }

    void Font(LogFontData& f) {
        I32(f.lfHeight);
        I32(f.lfWidth);
        I32(f.lfEscapement);
        I32(f.lfOrientation);
        I32(f.lfWeight);
        U8(f.lfItalic);
        U8(f.lfUnderline);
        U8(f.lfStrikeOut);
        U8(f.lfCharSet);
        U8(f.lfOutPrecision);
        U8(f.lfClipPrecision);
        U8(f.lfQuality);
        U8(f.lfPitchAndFamily);
        for (wchar_t& c : f.lfFaceName) {
            uint16_t unit;
            if (U16(unit)) c = static_cast<wchar_t>(unit);
        }
        // The font API reads the face name up to its terminator; a damaged file
        // must not send it past the array.
        f.lfFaceName[LogFontData::kFaceSize - 1] = 0;
    }

    void Time(SystemTimeData& t) {
        U16(t.wYear);
        U16(t.wMonth);
        U16(t.wDayOfWeek);
        U16(t.wDay);
        U16(t.wHour);
        U16(t.wMinute);
        U16(t.wSecond);
        U16(t.wMilliseconds);
    }

private:
    unsigned Byte(size_t at) const { return static_cast<unsigned char>(in_[at]); }
    bool Short() {
        pos_ = in_.size();
        cutShort_ = true;
        return false;
    }

    const std::string& in_;
    size_t pos_ = 0;
    bool cutShort_ = false;
};

void WriteNote(Writer& w, const NoteData& n) {
    w.I32(n.rect.left);
    w.I32(n.rect.top);
    w.I32(n.rect.right);
    w.I32(n.rect.bottom);
    w.String(n.text);
    w.String(n.title);
    w.Bool(n.alwaysOnTop);
    w.U16(n.created.wYear);
    w.U16(n.created.wMonth);
    w.U16(n.created.wDay);
    w.U16(n.created.wHour);
    w.U16(n.created.wMinute);
    w.Bool(n.locked);
    w.Bool(n.hasCustomFont);
    if (n.hasCustomFont) w.Font(n.font);
    w.U8(static_cast<uint8_t>(n.priority));
    w.Bool(n.hidden);
    w.Bool(n.alarmEnabled);
    w.Bool(n.hasAlarm);
    if (n.hasAlarm) w.Time(n.alarmTime);
}

void ReadNote(Reader& r, NoteData& n) {
    r.I32(n.rect.left);
    r.I32(n.rect.top);
    r.I32(n.rect.right);
    r.I32(n.rect.bottom);
    r.String(n.text);
    r.String(n.title);
    r.Bool(n.alwaysOnTop);
    r.U16(n.created.wYear);
    r.U16(n.created.wMonth);
    r.U16(n.created.wDay);
    r.U16(n.created.wHour);
    r.U16(n.created.wMinute);
    r.Bool(n.locked);
    r.Bool(n.hasCustomFont);
    if (n.hasCustomFont) r.Font(n.font);
    uint8_t priority;
    if (r.U8(priority)) {
        // The priority indexes the skin's icons; an unknown one falls back to normal.
        n.priority = priority <= kPriorityVeryLow ? int{priority} : int{kPriorityNormal};
    }
    r.Bool(n.hidden);
    r.Bool(n.alarmEnabled);
    r.Bool(n.hasAlarm);
    if (n.hasAlarm) r.Time(n.alarmTime);
}

// Shifts value by delta, held within the 32-bit range.
int32_t Shifted(int32_t value, int64_t delta) {
    int64_t v = static_cast<int64_t>(value) + delta;
    v = std::max<int64_t>(v, std::numeric_limits<int32_t>::min());
    v = std::min<int64_t>(v, std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(v);
}

std::wstring TwoDigits(unsigned v) {
    return std::wstring(1, static_cast<wchar_t>(L'0' + v / 10 % 10)) +
           static_cast<wchar_t>(L'0' + v % 10);
}

}  // namespace

std::string SerializeNotes(const NotesFileData& data) {
    size_t size = 9 + 92;
    for (const NoteData& note : data.notes) {
        size += kMinRecordSize + 92 + 16 + 2 * (note.text.size() + note.title.size());
    }
    std::string out;
    out.reserve(size);
    Writer w(out);
    w.I32(kNotesFileVersion);
    w.U32(static_cast<uint32_t>(data.notes.size()));
    w.Bool(data.hasCustomDefaultFont);
    if (data.hasCustomDefaultFont) w.Font(data.customDefaultFont);
    for (const NoteData& note : data.notes) WriteNote(w, note);
    return out;
}

NotesFileState ParseNotes(const std::string& bytes, NotesFileData& data) {
    data = NotesFileData();
    if (bytes.empty()) return NotesFileState::Whole;  // nothing there to lose
    Reader r(bytes);
    int32_t version = 0;
    r.I32(version);
    if (version > kNotesFileVersion) return NotesFileState::NewerVersion;

    uint32_t count = 0;
    r.U32(count);
    r.Bool(data.hasCustomDefaultFont);
    if (data.hasCustomDefaultFont) r.Font(data.customDefaultFont);

    // Every record takes at least kMinRecordSize bytes, so the count is believed
    // only as far as the bytes left could hold it.
    data.notes.reserve(std::min<size_t>(count, r.Remaining() / kMinRecordSize + 1));
    for (uint32_t i = 0; i < count && !r.AtEnd(); ++i) {
        data.notes.emplace_back();
        ReadNote(r, data.notes.back());
    }
    if (r.CutShort() || data.notes.size() < count) return NotesFileState::CutShort;
    if (!r.AtEnd()) return NotesFileState::TrailingBytes;
    return NotesFileState::Whole;
}

RectData MoveIntoVirtualScreen(const RectData& rect, const RectData& screen) {
    int64_t dx = 0;
    int64_t dy = 0;
    if (rect.right <= screen.left) {
        dx = static_cast<int64_t>(screen.left) - rect.left;
    } else if (rect.left >= screen.right) {
        dx = static_cast<int64_t>(screen.right) - rect.right;
    }
    if (rect.bottom <= screen.top) {
        dy = static_cast<int64_t>(screen.top) - rect.top;
    } else if (rect.top >= screen.bottom) {
        dy = static_cast<int64_t>(screen.bottom) - rect.bottom;
    }
    if (dx == 0 && dy == 0) return rect;
    RectData out;
    out.left = Shifted(rect.left, dx);
    out.right = Shifted(rect.right, dx);
    out.top = Shifted(rect.top, dy);
    out.bottom = Shifted(rect.bottom, dy);
    return out;
}

int CompareTimes(const SystemTimeData& a, const SystemTimeData& b) {
    const uint16_t ka[] = {a.wYear,   a.wMonth,  a.wDay,         a.wHour,
                           a.wMinute, a.wSecond, a.wMilliseconds};
    const uint16_t kb[] = {b.wYear,   b.wMonth,  b.wDay,         b.wHour,
                           b.wMinute, b.wSecond, b.wMilliseconds};
    for (size_t i = 0; i < sizeof ka / sizeof ka[0]; ++i) {
        if (ka[i] != kb[i]) return ka[i] < kb[i] ? -1 : 1;
    }
    return 0;
}

void ApplyLoadRules(NotesFileData& data, const LoadEnvironment& environment) {
    for (NoteData& note : data.notes) {
        note.rect = MoveIntoVirtualScreen(note.rect, environment.virtualScreen);
        AlarmRule::Settle(note, environment.nowUtc);
    }
}

LoadResult LoadNotesFile(const std::wstring& path, const LoadEnvironment& environment) {
    LoadResult result;
    if (!FileIo::FileExists(path)) {
        result.state = NotesFileState::Missing;
        return result;
    }
    std::string bytes;
    bool read = FileIo::ReadFile(path, bytes);
    for (int attempt = 1; !read && attempt < environment.readAttempts; ++attempt) {
        if (environment.wait) environment.wait();
        read = FileIo::ReadFile(path, bytes);
    }
    result.state = read ? ParseNotes(bytes, result.data) : NotesFileState::Unreadable;
    result.keepOriginal = result.state != NotesFileState::Whole;
    if (result.state == NotesFileState::Unreadable ||
        result.state == NotesFileState::NewerVersion) {
        // Kept now, while nothing has been written yet; a file that cannot be
        // read cannot be copied either, and waits for the first save that can.
        for (int attempt = 1; attempt <= 100; ++attempt) {
            const std::wstring kept = BackupPathFor(path, environment.localNow, attempt);
            if (FileIo::FileExists(kept)) continue;
            result.keptOriginalPath = kept;
            break;
        }
        if (read && !result.keptOriginalPath.empty() &&
            FileIo::WriteFileAtomically(result.keptOriginalPath, bytes)) {
            result.keptOriginalCopied = true;
            result.keepOriginal = false;
        }
    }
    ApplyLoadRules(result.data, environment);
    return result;
}

bool ParseKeptOriginalName(const std::wstring& notesFileName, const std::wstring& name,
                           SystemTimeData& stamp) {
    // "<notes>." + "YYYY-MM-DD-HHMMSS" + optional "-n" + ".bak"
    const std::wstring prefix = notesFileName + L".";
    const std::wstring suffix = L".bak";
    if (name.size() < prefix.size() + 17 + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::wstring middle =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const auto digits = [&middle](size_t at, size_t count, uint16_t& value) {
        unsigned v = 0;
        for (size_t i = at; i < at + count; ++i) {
            if (middle[i] < L'0' || middle[i] > L'9') return false;
            v = v * 10 + static_cast<unsigned>(middle[i] - L'0');
        }
        value = static_cast<uint16_t>(v);
        return true;
    };
    SystemTimeData t;
    if (!digits(0, 4, t.wYear) || middle[4] != L'-' || !digits(5, 2, t.wMonth) ||
        middle[7] != L'-' || !digits(8, 2, t.wDay) || middle[10] != L'-' ||
        !digits(11, 2, t.wHour) || !digits(13, 2, t.wMinute) || !digits(15, 2, t.wSecond)) {
        return false;
    }
    if (middle.size() > 17) {
        uint16_t n = 0;
        if (middle[17] != L'-' || middle.size() > 21 || middle.size() < 19 ||
            !digits(18, middle.size() - 18, n)) {
            return false;
        }
    }
    if (t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 || t.wDay > 31 || t.wHour > 23 ||
        t.wMinute > 59 || t.wSecond > 59) {
        return false;
    }
    stamp = t;
    return true;
}

std::wstring BackupPathFor(const std::wstring& path, const SystemTimeData& t, int attempt) {
    std::wstring name = path + L"." + TwoDigits(t.wYear / 100) + TwoDigits(t.wYear % 100) + L"-" +
                        TwoDigits(t.wMonth) + L"-" + TwoDigits(t.wDay) + L"-" + TwoDigits(t.wHour) +
                        TwoDigits(t.wMinute) + TwoDigits(t.wSecond);
    if (attempt > 1) name += L"-" + std::to_wstring(attempt);
    return name + L".bak";
}

bool SaveNotesFile(const std::wstring& path, const NotesFileData& data,
                   const SystemTimeData& localNow, bool& keepOriginal, const std::wstring& keepAs) {
    if (keepOriginal) {
        if (FileIo::FileExists(path)) {
            bool kept = false;
            for (int attempt = 1; attempt <= 100 && !kept; ++attempt) {
                std::wstring backup = attempt == 1 && !keepAs.empty()
                                          ? keepAs
                                          : BackupPathFor(path, localNow, attempt);
                if (FileIo::FileExists(backup)) continue;
                // A full disk has no room for a copy, but renaming the file
                // needs none; the save then writes a new file in its place.
                kept = FileIo::CopyNewFile(path, backup) || FileIo::RenameNewFile(path, backup);
                if (!kept) break;
            }
            if (!kept) return false;
        }
        keepOriginal = false;
    }
    return FileIo::WriteFileAtomically(path, SerializeNotes(data));
}
