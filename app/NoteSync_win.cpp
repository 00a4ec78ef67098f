#include "app/NoteSync_win.h"

#include <random>

#include "store/FileIo.h"
#include "ui/PrivateMessages_win.h"

namespace {

uint64_t RandomBits() {
    // Ids must differ between PCs that start at the same moment: the system's
    // random source, mixed with the time and the process in case it fails.
    static std::mt19937_64 engine = [] {
        std::random_device device;
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        std::seed_seq seed{device(),
                           device(),
                           static_cast<unsigned>(counter.LowPart),
                           static_cast<unsigned>(counter.HighPart),
                           static_cast<unsigned>(GetCurrentProcessId()),
                           device()};
        return std::mt19937_64(seed);
    }();
    return engine();
}

std::wstring WithSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}

}  // namespace

NoteSync::NoteSync(HWND window, Host host, std::wstring sidecarPath)
    : window(window),
      host(std::move(host)),
      sidecarPath(std::move(sidecarPath)),
      session(&RandomBits) {}

NoteSync::~NoteSync() {
    WriteIfDue();
    watch.Stop();
    if (window) {
        KillTimer(window, kSyncWriteTimer);
        KillTimer(window, kSyncPollTimer);
        KillTimer(window, kSyncReadTimer);
    }
}

int64_t NoteSync::NowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // 100 ns ticks since 1601 to ms since 1970.
    return static_cast<int64_t>(ticks / 10000) - 11644473600000LL;
}

std::wstring NoteSync::DefaultComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) return L"PC";
    return std::wstring(name, size);
}

std::wstring NoteSync::DeviceFilePath() const {
    return active ? WithSeparator(settings.folder) + ownName : std::wstring();
}

void NoteSync::Shown(uint64_t key, const RECT& rect, bool hidden, bool alwaysOnTop) {
    const RectData r{rect.left, rect.top, rect.right, rect.bottom};
    if (applying) {
        shownWhileApplying.push_back({key, r, hidden, alwaysOnTop});
    } else {
        session.Shown(key, r, hidden, alwaysOnTop);
    }
}

void NoteSync::Configure(const Sync::SyncSettings& wanted, const std::wstring& conflictPrefix) {
    const bool on = Sync::SyncActive(wanted);
    if (active) {
        // A write due goes to the folder it was due for.
        WriteIfDue();
        watch.Stop();
        KillTimer(window, kSyncPollTimer);
        KillTimer(window, kSyncReadTimer);
        KillTimer(window, kSyncWriteTimer);
        writeTimer = false;
    }
    const bool wasActive = active;
    active = on;
    settings = wanted;
    session.SetPlacementSync(wanted.placement);
    mergeOptions.conflictPrefix = conflictPrefix;
    told = false;
    if (!on) return;

    if (!wasActive) {
        std::string sidecar;
        FileIo::ReadFile(sidecarPath, sidecar);
        session.Start(host.notes(), sidecar, NowMs());
    }
    const std::wstring name =
        settings.computerName.empty() ? DefaultComputerName() : settings.computerName;
    session.SetDeviceName(name);
    const std::wstring oldName = ownName;
    ownName = Sync::DeviceFileName(name, session.Device());
    scan.Reset();
    WriteSidecar();
    writeDue = true;
    WriteDevice();
    // The file under a former PC name is this PC's no more.
    if (!oldName.empty() && oldName != ownName) {
        FileIo::RemoveFile(WithSeparator(settings.folder) + oldName);
    }
    watch.Start(settings.folder, window, kSyncFolderMessage);
    SetTimer(window, kSyncPollTimer, kPollInterval, nullptr);
    SetTimer(window, kSyncReadTimer, kReadDelay, nullptr);
}

void NoteSync::NotesSaved(const std::vector<Sync::LocalNote>& notes) {
    if (!active) return;
    if (applying) {
        savedWhileApplying = true;
        savedNotes = notes;
        return;
    }
    TakeSaved(notes);
}

void NoteSync::NotesReplaced(const std::vector<Sync::LocalNote>& notes) {
    if (!active) return;
    if (session.Replaced(notes, NowMs())) writeDue = true;
    TakeSaved(notes);
}

void NoteSync::TakeSaved(const std::vector<Sync::LocalNote>& notes) {
    if (session.Saved(notes, NowMs())) writeDue = true;
    WriteSidecar();
    if (writeDue && !writeTimer) {
        writeTimer = SetTimer(window, kSyncWriteTimer, kWriteDelay, nullptr) != 0;
        if (!writeTimer) WriteDevice();
    }
}

void NoteSync::WriteSidecar() {
    std::string bytes = session.StateBytes();
    if (bytes == sidecarWritten) return;
    // A sidecar that could not be written costs only a new matching by text at
    // the next start; the save of the notes goes on regardless.
    if (FileIo::WriteFileAtomically(sidecarPath, bytes)) sidecarWritten = std::move(bytes);
}

void NoteSync::WriteDevice() {
    if (!active || !writeDue) return;
    if (FileIo::WriteFileAtomically(DeviceFilePath(), session.StateBytes())) {
        writeDue = false;
        Available();
    } else {
        // Written again at the next poll.
        Unavailable(GetLastError());
    }
}

void NoteSync::WriteIfDue() {
    if (writeDue) WriteDevice();
}

void NoteSync::Unavailable(DWORD error) {
    watch.Stop();
    if (told) return;
    told = true;
    if (host.unavailable) host.unavailable(settings.folder, error);
}

void NoteSync::Available() {
    told = false;
    if (!watch.Running()) watch.Start(settings.folder, window, kSyncFolderMessage);
}

bool NoteSync::HandleMessage(UINT message, WPARAM wParam) {
    if (message == kSyncFolderMessage) {
        if (active) SetTimer(window, kSyncReadTimer, kReadDelay, nullptr);
        return true;
    }
    if (message != WM_TIMER) return false;
    switch (wParam) {
        case kSyncWriteTimer:
            KillTimer(window, kSyncWriteTimer);
            writeTimer = false;
            WriteDevice();
            return true;
        case kSyncReadTimer:
            KillTimer(window, kSyncReadTimer);
            ReadFolder();
            return true;
        case kSyncPollTimer:
            WriteIfDue();
            ReadFolder();
            return true;
        default:
            return false;
    }
}

void NoteSync::ReadFolder() {
    if (!active) return;
    watch.Acknowledge();
    if (host.busy && host.busy()) {
        // Text arriving under an open editor would be lost when the edit ends.
        SetTimer(window, kSyncReadTimer, kBusyRetry, nullptr);
        return;
    }
    std::vector<Sync::FolderEntry> listing;
    if (!Sync::ListFolder(settings.folder, listing)) {
        Unavailable(GetLastError());
        return;
    }
    Available();
    const std::wstring folder = WithSeparator(settings.folder);
    for (const std::wstring& name : scan.ToRead(listing, ownName)) {
        std::string bytes;
        Sync::DeviceState other;
        const Sync::ParseState state = FileIo::ReadFile(folder + name, bytes)
                                           ? Sync::ParseDevice(bytes, other)
                                           : Sync::ParseState::Incomplete;
        if (state != Sync::ParseState::Whole) {
            // Incomplete: read again at the next scan; anything else waits
            // until the file changes.
            scan.Done(name, state != Sync::ParseState::Incomplete);
            continue;
        }
        const Sync::FileRole role = Sync::RoleOf(name, other.device, session.Device(), ownName);
        mergeOptions.nowMs = NowMs();
        const Sync::ListChanges changes = session.MergeFrom(other, mergeOptions);
        if (!changes.Empty()) {
            applying = true;
            savedWhileApplying = false;
            const std::vector<uint64_t> keys = host.apply(changes);
            for (size_t i = 0; i < changes.added.size() && i < keys.size(); ++i) {
                if (keys[i] != 0) session.Bind(changes.added[i].id, keys[i]);
            }
            for (const ShownNote& n : shownWhileApplying)
                session.Shown(n.key, n.rect, n.hidden, n.alwaysOnTop);
            shownWhileApplying.clear();
            applying = false;
            if (savedWhileApplying) TakeSaved(savedNotes);
            savedNotes.clear();
            writeDue = true;
        } else if (changes.conflicts > 0 || changes.carried) {
            writeDue = true;
        }
        scan.Done(name, true);
        if (role == Sync::FileRole::OwnCopy || role == Sync::FileRole::OtherCopy) {
            FileIo::RemoveFile(folder + name);
        }
    }
    if (writeDue && !writeTimer) {
        writeTimer = SetTimer(window, kSyncWriteTimer, kWriteDelay, nullptr) != 0;
    }
}
