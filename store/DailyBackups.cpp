#include "store/DailyBackups.h"

#include <algorithm>
#include <tuple>

#include "store/FileIo.h"
#include "store/NotesFile.h"

namespace {

constexpr wchar_t kPrefix[] = L"Notes-";
constexpr wchar_t kSuffix[] = L".dat";

std::wstring Digits(unsigned value, size_t width) {
    std::wstring text(width, L'0');
    for (size_t i = width; i-- > 0; value /= 10) text[i] = static_cast<wchar_t>(L'0' + value % 10);
    return text;
}

std::wstring DayText(const SystemTimeData& t) {
    return Digits(t.wYear, 4) + L"-" + Digits(t.wMonth, 2) + L"-" + Digits(t.wDay, 2);
}

// Reads `width` decimal digits at `at`; false unless all are digits.
bool ReadDigits(const std::wstring& text, size_t at, size_t width, uint16_t& value) {
    if (at + width > text.size()) return false;
    unsigned v = 0;
    for (size_t i = at; i < at + width; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        v = v * 10 + static_cast<unsigned>(text[i] - L'0');
    }
    value = static_cast<uint16_t>(v);
    return true;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool CopyAtomically(const std::wstring& from, const std::wstring& to) {
    std::string bytes;
    return FileIo::ReadFile(from, bytes) && FileIo::WriteFileAtomically(to, bytes);
}

void Prune(const std::wstring& folder, const std::wstring& spare = std::wstring()) {
    for (const std::wstring& name :
         BackupsToPrune(FileIo::ListFiles(folder), kBackupsKept, kRestoreCopiesKept, spare)) {
        FileIo::RemoveFile(folder + name);
    }
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool IsOlder(const BackupStamp& a, const BackupStamp& b) {
    return std::tie(a.year, a.month, a.day, a.timed, a.hour, a.minute, a.second) <
           std::tie(b.year, b.month, b.day, b.timed, b.hour, b.minute, b.second);
}

std::wstring DailyBackupName(const SystemTimeData& t) {
    return kPrefix + DayText(t) + kSuffix;
}

std::wstring TimedBackupName(const SystemTimeData& t) {
    return kPrefix + DayText(t) + L"-" + Digits(t.wHour, 2) + Digits(t.wMinute, 2) +
           Digits(t.wSecond, 2) + kSuffix;
}

bool ParseBackupName(const std::wstring& name, BackupStamp& stamp) {
    const std::wstring prefix = kPrefix;
    const std::wstring suffix = kSuffix;
    // "Notes-" 4-2-2 digits, optionally "-" and 6 digits, then ".dat".
    const size_t dailyLength = prefix.size() + 10 + suffix.size();
    if (name.size() != dailyLength && name.size() != dailyLength + 7) return false;
    if (name.compare(0, prefix.size(), prefix) != 0 || !EndsWith(name, suffix)) return false;
    BackupStamp s;
    const size_t at = prefix.size();
    if (!ReadDigits(name, at, 4, s.year) || name[at + 4] != L'-' ||
        !ReadDigits(name, at + 5, 2, s.month) || name[at + 7] != L'-' ||
        !ReadDigits(name, at + 8, 2, s.day)) {
        return false;
    }
    if (name.size() != dailyLength) {
        s.timed = true;
        if (name[at + 10] != L'-' || !ReadDigits(name, at + 11, 2, s.hour) ||
            !ReadDigits(name, at + 13, 2, s.minute) || !ReadDigits(name, at + 15, 2, s.second)) {
            return false;
        }
        if (s.hour > 23 || s.minute > 59 || s.second > 59) return false;
    }
    if (s.month < 1 || s.month > 12 || s.day < 1 || s.day > DaysInMonth(s.year, s.month)) {
        return false;
    }
    stamp = s;
    return true;
}

std::wstring BackupsFolderFor(const std::wstring& notesPath) {
    const size_t slash = notesPath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L"Backups\\";
    return notesPath.substr(0, slash + 1) + L"Backups" + notesPath[slash];
}

std::vector<std::wstring> NewestBackupsFirst(const std::vector<std::wstring>& names) {
    std::vector<std::pair<BackupStamp, std::wstring>> found;
    for (const std::wstring& name : names) {
        BackupStamp stamp;
        if (ParseBackupName(name, stamp)) found.emplace_back(stamp, name);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (IsOlder(b.first, a.first)) return true;
        if (IsOlder(a.first, b.first)) return false;
        return a.second < b.second;
    });
    std::vector<std::wstring> sorted;
    for (auto& entry : found) sorted.push_back(std::move(entry.second));
    return sorted;
}

std::vector<std::wstring> BackupsToPrune(const std::vector<std::wstring>& names, size_t keepDaily,
                                         size_t keepTimed, const std::wstring& spare) {
    size_t daily = 0;
    size_t timed = 0;
    std::vector<std::wstring> pruned;
    for (std::wstring& name : NewestBackupsFirst(names)) {
        BackupStamp stamp;
        ParseBackupName(name, stamp);
        const size_t seen = stamp.timed ? ++timed : ++daily;
        if (seen > (stamp.timed ? keepTimed : keepDaily) && name != spare) {
            pruned.push_back(std::move(name));
        }
    }
    return pruned;
}

BackupOutcome MakeDailyBackup(const std::wstring& notesPath, const SystemTimeData& localNow,
                              const std::wstring& restoring) {
    if (!FileIo::FileExists(notesPath)) return BackupOutcome::NothingToCopy;
    const std::wstring folder = BackupsFolderFor(notesPath);
    const std::wstring target = folder + DailyBackupName(localNow);
    // The first copy of the day is the one worth keeping: later saves of the same
    // day, in this run or the next, leave it alone.
    if (FileIo::FileExists(target)) return BackupOutcome::AlreadyThere;
    if (!FileIo::MakeFolder(folder.substr(0, folder.size() - 1)) ||
        !CopyAtomically(notesPath, target)) {
        return BackupOutcome::Failed;
    }
    Prune(folder, FileNameOf(restoring));
    return BackupOutcome::Made;
}

bool MakeTimedBackup(const std::wstring& notesPath, const SystemTimeData& localNow,
                     const std::wstring& restoring) {
    if (!FileIo::FileExists(notesPath)) return true;
    const std::wstring folder = BackupsFolderFor(notesPath);
    if (!FileIo::MakeFolder(folder.substr(0, folder.size() - 1)) ||
        !CopyAtomically(notesPath, folder + TimedBackupName(localNow))) {
        return false;
    }
    Prune(folder, FileNameOf(restoring));
    return true;
}

std::vector<BackupInfo> ListBackups(const std::wstring& notesPath) {
    const std::wstring folder = BackupsFolderFor(notesPath);
    std::vector<BackupInfo> list;
    for (const std::wstring& name : NewestBackupsFirst(FileIo::ListFiles(folder))) {
        BackupInfo info;
        info.path = folder + name;
        ParseBackupName(name, info.stamp);
        list.push_back(std::move(info));
    }
    const size_t slash = notesPath.find_last_of(L"\\/");
    const std::wstring notesFolder =
        slash == std::wstring::npos ? L"" : notesPath.substr(0, slash + 1);
    const std::wstring notesName = notesPath.substr(notesFolder.size());
    for (const std::wstring& name : FileIo::ListFiles(notesFolder.empty() ? L"." : notesFolder)) {
        SystemTimeData t;
        if (!ParseKeptOriginalName(notesName, name, t)) continue;
        BackupInfo info;
        info.path = notesFolder + name;
        info.keptOriginal = true;
        info.stamp = {t.wYear, t.wMonth, t.wDay, true, t.wHour, t.wMinute, t.wSecond};
        list.push_back(std::move(info));
    }
    std::stable_sort(list.begin(), list.end(), [](const BackupInfo& a, const BackupInfo& b) {
        return IsOlder(b.stamp, a.stamp);
    });
    for (BackupInfo& info : list) {
        std::string bytes;
        NotesFileData data;
        if (FileIo::ReadFile(info.path, bytes)) ParseNotes(bytes, data);
        info.noteCount = data.notes.size();
    }
    return list;
}
