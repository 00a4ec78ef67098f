#include "notes/NoteWindow_win.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "arrange/Rect_win.h"
#include "notes/EditRules.h"
#include "notes/NoteLayout.h"
#include "notes/NoteSizing.h"
#include "skin/Skin_win.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

// The button sizes come from the skin's bitmaps, which the portable metrics
// cannot read.
NoteGeometry::NoteMetrics MetricsOf(const Skin& skin) {
    NoteGeometry::NoteMetrics m = NoteGeometry::NoteMetricsOf(skin);
    const struct {
        const ButtonDef& def;
        NoteGeometry::ButtonPlace& place;
    } buttons[] = {{skin.menuButton, m.menuButton}, {skin.deleteButton, m.deleteButton}};
    for (const auto& b : buttons) {
        const SkinBitmap* face = b.def.bitmaps.normal.get();
        if (!face || !face->Handle()) continue;
        b.place.width = face->Width();
        b.place.height = face->Height();
    }
    return m;
}

// The dialogs and message boxes of this thread owned by `owner`, directly or
// through another such dialog (the overwrite question of a save dialog).
std::vector<HWND> DialogsOwnedBy(HWND owner) {
    struct Search {
        std::vector<HWND> owners;
        std::vector<HWND> found;
    } search{{owner}, {}};
    // A dialog may be enumerated before the dialog that owns it: look again
    // until nothing new turns up.
    for (size_t before = SIZE_MAX; before != search.found.size();) {
        before = search.found.size();
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM context) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(context);
                wchar_t name[16] = {};
                HWND by = GetWindow(window, GW_OWNER);
                if (by && std::find(s.owners.begin(), s.owners.end(), by) != s.owners.end() &&
                    std::find(s.found.begin(), s.found.end(), window) == s.found.end() &&
                    GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0) {
                    s.found.push_back(window);
                    s.owners.push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

}  // namespace

NoteWindow::NoteWindow(NoteHost& noteHost, bool layered, bool startEditing)
    : SmallWindow(noteHost.Windows()), host(noteHost), metrics(MetricsOf(noteHost.NoteSkin())) {
    masked = layered;
    Create(layered, startEditing);
    InitFields();

    const Skin& skin = NoteSkin();
    const int h = skin.backgroundHeight;
    const int w = startEditing ? 3 * skin.backgroundWidth : skin.backgroundWidth;
    Resize(w, h, false);
    LayoutForSize(w, h);
    UpdateShape();
    lastRect = WindowRect();
    EnableSnapping();
}

NoteWindow::NoteWindow(NoteHost& noteHost, bool layered, const NoteData& loaded)
    : SmallWindow(noteHost.Windows()), host(noteHost), metrics(MetricsOf(noteHost.NoteSkin())) {
    masked = layered;
    // Made where it belongs, in its Z-order band, with its lock: one window
    // creation and nothing to redo before the note is shown.
    // A fixed-size skin's note is its background's size, whatever the record
    // (made under another skin) says.
    const Rect fixed = NoteGeometry::FixedSizeWindow(loaded.rect, metrics);
    const RECT at = ToWin32(fixed);
    DWORD exStyle = loaded.alwaysOnTop ? WS_EX_TOPMOST : 0;
    if (loaded.locked) exStyle |= WS_EX_TRANSPARENT;
    Create(layered, false, at, exStyle);
    InitFields();
    TakeRecord(loaded);
    record.alwaysOnTop = loaded.alwaysOnTop;
    record.locked = loaded.locked;
    LayoutForSize(at.right - at.left, at.bottom - at.top);
    UpdateShape();
    lastRect = WindowRect();
    EnableSnapping();
}

void NoteWindow::InitFields() {
    textMargins = EditMarginsOf(CurrentFont());
    SYSTEMTIME now;
    GetLocalTime(&now);
    record.created = FromSystemTime(now);
    record.rect = ToPortable(WindowRect());
}

// Takes the record, but for where the window lies, which the caller places,
// and its always-on-top and lock, which need window changes the caller makes.
void NoteWindow::TakeRecord(const NoteData& d) {
    const bool wasArmed = record.alarmEnabled;
    const Rect rect = record.rect;
    const bool onTop = record.alwaysOnTop, wasLocked = record.locked;
    record = d;
    record.rect = rect;
    record.alwaysOnTop = onTop;
    record.locked = wasLocked;
    record.priority = std::clamp(d.priority, 0, 4);

    OwnedFont custom;
    LOGFONTW lf = {};
    if (d.hasCustomFont) {
        lf = ToLogFontW(d.font);
        // A font the system cannot make leaves the note with the skin's.
        custom.Reset(CreateFontIndirectW(&lf));
    }
    SetNoteFont(std::move(custom), lf);

    if (wasArmed && !record.alarmEnabled && Handle()) KillTimer(Handle(), kNoteAlarmTimer);
    if (record.alarmEnabled && Handle()) StartAlarmTimer();
}

NoteWindow::~NoteWindow() {
    destroying = true;
    if (Handle()) {
        if (record.alarmEnabled) KillTimer(Handle(), kNoteAlarmTimer);
        // The hover timer may also have been started before a skin change
        // took the mask away; killing an idle timer is harmless.
        if (hoverTimerRunning) KillTimer(Handle(), kNoteHoverTimer);
        if (typingSaveDue) KillTimer(Handle(), kNoteTypingTimer);
    }
    hoverTimerRunning = false;
    editor.reset();
}

NoteWindow::HandlerScope::~HandlerScope() {
    if (--note.runningHandlers == 0 && note.closing && !note.destroying) note.host.CloseNote(note);
}

void NoteWindow::BeginClosing() {
    if (closing) return;
    closing = true;
    if (Handle()) {
        KillTimer(Handle(), kNoteAlarmTimer);
        KillTimer(Handle(), kNoteHoverTimer);
        KillTimer(Handle(), kNoteTypingTimer);
        KillTimer(Handle(), kNotePulseTimer);
        if (GetCapture() == Handle()) ReleaseCapture();
        // The system's move or size loop ends on Escape, as when the user
        // presses it; the note goes once the loop has returned.
        if (inMoveLoop) PostMessageW(Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    hoverTimerRunning = false;
    pulsing = false;
    // The editor's own handlers may be running (its context menu): it goes
    // with the note, never before.
    if (editor && editor->Handle()) ShowWindow(editor->Handle(), SW_HIDE);
    if (runningHandlers == 0 || !Handle()) return;
    // A menu or dialog of the note is open (the host closes it for an exit or
    // a restore): it ends as cancelled, so that the handler that opened it
    // returns and the note can be destroyed. The result is 0, which every
    // caller reads as cancelled: a message box's answer is none of its
    // buttons, and the common dialogs return their box's result as their
    // BOOL (IDCANCEL, 2, would read as a file chosen). A modal loop looks at
    // its end flag only when a message comes, hence the WM_NULL.
    if (InPopupMenu() || editor) EndMenu();
    for (HWND dialog : DialogsOwnedBy(Handle())) {
        EndDialog(dialog, 0);
        PostMessageW(dialog, WM_NULL, 0, 0);
    }
}

HFONT NoteWindow::CurrentFont() const {
    return customFont.Get() ? customFont.Get() : NoteSkin().noteFont.Get();
}

const Skin& NoteWindow::NoteSkin() const {
    return host.NoteSkin();
}

NoteGeometry::GridOptions NoteWindow::Grid() const {
    const AppSettings& s = host.Settings();
    NoteGeometry::GridOptions grid;
    grid.useGrid = s.useNoteGrid;
    grid.snapNotes = s.snapNotes;
    grid.gap = s.snapGap;
    return grid;
}

bool NoteWindow::HasMask() const {
    return NoteSkin().mask != nullptr;
}

std::wstring NoteWindow::LiveText() const {
    if (!editor || !editor->Handle()) return record.text;
    std::wstring typed;
    editor->GetText(typed);
    return typed == record.text ? record.text : EditRules::ApplyFixedReplacements(typed);
}

bool NoteWindow::BlankNewNote() const {
    return editor && editingNewNote && EditRules::IsBlank(LiveText());
}

NoteData NoteWindow::Data() const {
    NoteData d = record;
    d.rect = ToPortable(WindowRect());
    if (editor) d.text = LiveText();
    return d;
}

void NoteWindow::SetNoteFont(OwnedFont custom, const LOGFONTW& described) {
    customFont = std::move(custom);
    record.hasCustomFont = customFont.Get() != nullptr;
    record.font = record.hasCustomFont ? FromLogFontW(described) : LogFontData();
    textMargins = EditMarginsOf(CurrentFont());
    // A new font may reuse the handle of the one it replaces.
    layoutValid = false;
}

void NoteWindow::ApplyData(const NoteData& d) {
    TakeRecord(d);
    InvalidateAll();
    record.alwaysOnTop = d.alwaysOnTop;
    SetTopmost(record.alwaysOnTop);
    record.locked = d.locked;
    SetClickThrough(record.locked && GetForegroundWindow() != Handle());
    SetRect(ToWin32(d.rect), true);
    if (!record.hidden) ShowWindow(Handle(), SW_SHOWNA);
    if (!record.alwaysOnTop)
        SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void NoteWindow::TakeSyncedFields(const NoteData& d) {
    NoteData kept = d;
    kept.hidden = record.hidden;
    TakeRecord(kept);
    record.locked = d.locked;
    SetClickThrough(record.locked && GetForegroundWindow() != Handle());
    InvalidateAll();
}

void NoteWindow::Hide() {
    StopPulse();
    record.hidden = true;
    host.ActivateNextNote(this);
    ShowWindow(Handle(), SW_HIDE);
    host.NotesChanged();
}

void NoteWindow::Unhide(bool show) {
    if (!record.hidden) return;
    record.hidden = false;
    if (show) ShowWindow(Handle(), SW_SHOWNA);
    host.NotesChanged();
}

void NoteWindow::ToggleAlwaysOnTop() {
    record.alwaysOnTop = !record.alwaysOnTop;
    SetTopmost(record.alwaysOnTop);
    host.NotesChanged();
}

void NoteWindow::SetClickThrough(bool on) {
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    LONG_PTR wanted = on ? (style | WS_EX_TRANSPARENT) : (style & ~LONG_PTR{WS_EX_TRANSPARENT});
    if (wanted != style) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, wanted);
}

void NoteWindow::SetLocked(bool on) {
    record.locked = on;
    host.NotesChanged();
    // The active note stays clickable; it turns click-through when it is left.
    if (on && GetForegroundWindow() == Handle()) return;
    SetClickThrough(on);
}

void NoteWindow::SetPriority(int p) {
    if (p == record.priority || p < kPriorityVeryHigh || p > kPriorityVeryLow) return;
    record.priority = p;
    host.NotesChanged();
    InvalidateAll();
}

void NoteWindow::FitRectToGrid(const RECT& rect, bool redraw) {
    const Skin& skin = NoteSkin();
    const Rect fitted = NoteGeometry::FitRectToGrid(ToPortable(rect), skin.backgroundWidth,
                                                    skin.backgroundHeight, Grid());
    SetRect(ToWin32(fitted), redraw);
}

void NoteWindow::InvalidateAll() {
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HWND NoteWindow::EditorHandle() const {
    return editor ? editor->Handle() : nullptr;
}

Insets NoteWindow::SnapInsets() const {
    return metrics.maskInsets;
}
bool NoteWindow::SnapToGrid() const {
    return host.Settings().useNoteGrid;
}
bool NoteWindow::SnapToNotes() const {
    return host.Settings().snapNotes;
}
int32_t NoteWindow::SnapGap() const {
    return host.Settings().snapGap;
}
int32_t NoteWindow::SnapBorder() const {
    return host.Settings().snapBorder;
}
