#include "notes/NoteWindow_win.h"

#include <algorithm>

#include "notes/NoteLayout.h"
#include "notes/NoteSizing.h"
#include "res/resource.h"
#include "skin/Skin_win.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SkinButton_win.h"

namespace {

// A skin button of a note; its click is handed to the note.
class NoteButton : public SkinButton {
public:
    NoteButton(HWND parent, NoteWindow& note, void (*action)(NoteWindow&))
        : SkinButton(parent), note(note), action(action) {}
    void OnClick() override { action(note); }

private:
    NoteWindow& note;
    void (*action)(NoteWindow&);
};

void OpenMenu(NoteWindow& note) {
    note.ShowNoteMenu();
}

void DeleteFromButton(NoteWindow& note) {
    // Posted: deleting the note now would free this button inside its own
    // click handler.
    note.Post(WM_COMMAND, MAKEWPARAM(IDM_NOTE_DELETE, 0), 0);
}

}  // namespace

NoteWindow::NoteWindow(NoteHost& noteHost, bool layered, bool startEditing)
    : host(noteHost), metrics(NoteGeometry::NoteMetricsOf(noteHost.NoteSkin())) {
    masked = layered;
    Create(layered, startEditing);

    const Skin& skin = NoteSkin();
    currentFont = skin.noteFont;
    GetLocalTime(&created);

    host.AddNote(*this);

    const int h = skin.backgroundHeight;
    const int w = startEditing ? 3 * skin.backgroundWidth : skin.backgroundWidth;
    Resize(w, h, false);

    RECT r = WindowRect();
    priorityIconPos =
        NoteGeometry::ResolveSkinPosition(metrics.priorityPos, r.right - r.left, r.bottom - r.top);
    CreateButtons(layered);
    PlaceButtons(w, h);
    EnableSnapping();
    CreateTextView();
}

NoteWindow::~NoteWindow() {
    if (Handle()) {
        if (alarmEnabled) KillTimer(Handle(), kNoteAlarmTimer);
        // The hover timer may also have been started before a skin change
        // took the mask away; killing an idle timer is harmless.
        if (hoverTimerRunning) KillTimer(Handle(), kNoteHoverTimer);
    }
    hoverTimerRunning = false;
    editor.reset();
    host.RemoveNote(*this);
    textView.reset();
    if (hasCustomFont && currentFont) DeleteObject(currentFont);
    currentFont = nullptr;
    menuButton.reset();
    deleteButton.reset();
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

void NoteWindow::CreateButtons(bool layeredWindow) {
    const Skin& skin = NoteSkin();
    struct Spec {
        const ButtonDef& def;
        std::unique_ptr<HotControl>& slot;
        void (*action)(NoteWindow&);
    } specs[] = {{skin.menuButton, menuButton, &OpenMenu},
                 {skin.deleteButton, deleteButton, &DeleteFromButton}};
    for (Spec& spec : specs) {
        if (!spec.def.visible) continue;
        auto button = std::make_unique<NoteButton>(Handle(), *this, spec.action);
        // The note starts masked: the frame and its buttons appear on hover.
        if (layeredWindow && button->Handle()) ShowWindow(button->Handle(), SW_HIDE);
        button->SetBitmaps(spec.def.bitmaps);
        spec.slot = std::move(button);
    }
}

void NoteWindow::PlaceButtons(int width, int height) {
    const struct {
        HotControl* button;
        const NoteGeometry::ButtonPlace& place;
    } buttons[] = {{menuButton.get(), metrics.menuButton},
                   {deleteButton.get(), metrics.deleteButton}};
    for (const auto& b : buttons) {
        if (!b.button) continue;
        Point p = NoteGeometry::ResolveSkinPosition(b.place.pos, width, height);
        b.button->Move(p.x, p.y, false);
    }
}

NoteData NoteWindow::Data() const {
    NoteData d;
    d.rect = FromRect(WindowRect());
    d.text = text;
    d.title = title;
    d.alwaysOnTop = alwaysOnTop;
    d.created = FromSystemTime(created);
    d.locked = locked;
    d.hasCustomFont = hasCustomFont;
    if (hasCustomFont) d.font = FromLogFontW(font);
    d.priority = priority;
    d.hidden = hidden;
    d.alarmEnabled = alarmEnabled;
    d.hasAlarm = hasAlarm;
    d.alarmTime = FromSystemTime(alarmTime);
    return d;
}

void NoteWindow::SetUnderlyingFont(HFONT newFont) {
    if (hasCustomFont && currentFont && currentFont != newFont) DeleteObject(currentFont);
    currentFont = newFont;
    if (textView && textView->Handle())
        SendMessageW(textView->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(currentFont), FALSE);
}

void NoteWindow::ApplyData(const NoteData& d) {
    title = d.title;
    created = ToSystemTime(d.created);
    priority = std::clamp(d.priority, 0, 4);
    hidden = d.hidden;
    alarmTime = ToSystemTime(d.alarmTime);
    hasAlarm = d.hasAlarm;

    HFONT newFont = NoteSkin().noteFont;
    bool custom = false;
    if (d.hasCustomFont) {
        LOGFONTW lf = ToLogFontW(d.font);
        if (HFONT made = CreateFontIndirectW(&lf)) {
            newFont = made;
            custom = true;
            font = lf;
        }
    }
    // The old custom font (if any) goes before the flag changes meaning.
    SetUnderlyingFont(newFont);
    hasCustomFont = custom;

    if (alarmEnabled && !d.alarmEnabled) KillTimer(Handle(), kNoteAlarmTimer);
    alarmEnabled = d.alarmEnabled;
    if (alarmEnabled) StartAlarmTimer();

    text = d.text;
    if (textView) SetWindowTextW(textView->Handle(), text.c_str());
    alwaysOnTop = d.alwaysOnTop;
    SetTopmost(alwaysOnTop);
    locked = d.locked;
    SetClickThrough(locked && GetForegroundWindow() != Handle());
    SetRect(ToRect(d.rect), true);
    if (!hidden) ShowWindow(Handle(), SW_SHOWNA);
    if (!alwaysOnTop)
        SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void NoteWindow::Hide() {
    hidden = true;
    host.ActivateNextNote(this);
    ShowWindow(Handle(), SW_HIDE);
    host.SaveNotes();
}

void NoteWindow::Unhide(bool show) {
    if (!hidden) return;
    hidden = false;
    if (show) ShowWindow(Handle(), SW_SHOWNA);
    host.SaveNotes();
}

void NoteWindow::ToggleAlwaysOnTop() {
    alwaysOnTop = !alwaysOnTop;
    SetTopmost(alwaysOnTop);
    host.SaveNotes();
}

void NoteWindow::SetClickThrough(bool on) {
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    LONG_PTR wanted = on ? (style | WS_EX_TRANSPARENT) : (style & ~LONG_PTR{WS_EX_TRANSPARENT});
    if (wanted != style) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, wanted);
}

void NoteWindow::SetLocked(bool on) {
    locked = on;
    host.SaveNotes();
    // The active note stays clickable; it turns click-through when it is left.
    if (on && GetForegroundWindow() == Handle()) return;
    SetClickThrough(on);
}

void NoteWindow::SetPriority(int p) {
    if (p == priority || p < kPriorityVeryHigh || p > kPriorityVeryLow) return;
    priority = p;
    host.SaveNotes();
    InvalidateAll();
}

void NoteWindow::FitRectToGrid(const RECT& rect, bool redraw) {
    const Skin& skin = NoteSkin();
    Rect fitted = NoteGeometry::FitRectToGrid({rect.left, rect.top, rect.right, rect.bottom},
                                              skin.backgroundWidth, skin.backgroundHeight, Grid());
    SetRect(RECT{fitted.left, fitted.top, fitted.right, fitted.bottom}, redraw);
}

void NoteWindow::InvalidateAll() {
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HWND NoteWindow::TextViewHandle() const {
    return textView ? textView->Handle() : nullptr;
}
HWND NoteWindow::EditorHandle() const {
    return editor ? editor->Handle() : nullptr;
}
HWND NoteWindow::MenuButtonHandle() const {
    return menuButton ? menuButton->Handle() : nullptr;
}
HWND NoteWindow::DeleteButtonHandle() const {
    return deleteButton ? deleteButton->Handle() : nullptr;
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
