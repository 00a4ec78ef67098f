#include "main/FindNotes_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "lang/LanguageKeys.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "res/resource.h"
#include "store/NoteData_win.h"

namespace {

constexpr int kColumns = 5;
constexpr int kColumnKeys[kColumns] = {kFindNotes_ColumnTitle, kFindNotes_ColumnPriority,
                                       kFindNotes_ColumnAlarm, kFindNotes_ColumnState,
                                       kFindNotes_ColumnCreated};
constexpr int kColumnWidths[kColumns] = {200, 70, 110, 80, 80};  // pixels at 96 dpi
constexpr COLORREF kHighlight = RGB(255, 226, 110);

std::wstring WithoutAmpersands(const std::wstring& label) {
    std::wstring out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&' && i + 1 < label.size()) ++i;
        out += label[i];
    }
    return out;
}

std::wstring PriorityText(const LanguageTable& language, int priority) {
    static const wchar_t* const keys[] = {L"NoteMenu_VeryHigh", L"NoteMenu_High",
                                          L"NoteMenu_Normal", L"NoteMenu_Low", L"NoteMenu_VeryLow"};
    if (priority < 0 || priority > 4) priority = kPriorityNormal;
    return WithoutAmpersands(language.Translate(keys[priority]));
}

std::wstring DateTimeText(const SYSTEMTIME& t, bool withTime) {
    wchar_t text[128] = {};
    std::wstring out;
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, 128)) out = text;
    if (withTime && GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, text, 128)) {
        out += L" ";
        out += text;
    }
    return out;
}

std::wstring AlarmText(const NoteData& note) {
    if (!note.alarmEnabled || !note.hasAlarm) return std::wstring();
    const SYSTEMTIME utc = ToSystemTime(note.alarmTime);
    SYSTEMTIME local;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return std::wstring();
    return DateTimeText(local, true);
}

std::wstring StateText(const LanguageTable& language, const NoteData& note) {
    std::wstring out;
    if (note.hidden) out = language.TextOf(kFindNotes_Hidden);
    if (note.locked) out += (out.empty() ? L"" : L", ") + language.TextOf(kFindNotes_Locked);
    return out;
}

}  // namespace

std::wstring SystemSearchFolding(const std::wstring& character) {
    wchar_t decomposed[64];
    int n = NormalizeString(NormalizationKD, character.c_str(), static_cast<int>(character.size()),
                            decomposed, 64);
    if (n <= 0) {
        n = static_cast<int>(character.size());
        character.copy(decomposed, character.size());
    }
    WORD types[64] = {};
    GetStringTypeW(CT_CTYPE3, decomposed, n, types);
    std::wstring kept;
    for (int i = 0; i < n; ++i) {
        if (!(types[i] & C3_NONSPACING)) kept += decomposed[i];
    }
    if (kept.empty()) return kept;
    wchar_t lower[128];
    const int m =
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING,
                      kept.c_str(), static_cast<int>(kept.size()), lower, 128, nullptr, nullptr, 0);
    return m > 0 ? std::wstring(lower, static_cast<size_t>(m)) : kept;
}

bool FindNotesWindow::Open(HWND owner, const std::wstring* searchWords) {
    if (!Handle()) {
        if (!Create(owner, IDD_FIND_NOTES)) return false;
    } else {
        Reload();
    }
    if (searchWords) SetSearchText(*searchWords);
    ShowWindow(Handle(), SW_SHOW);
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
    HWND edit = GetDlgItem(Handle(), IDC_FIND_TEXT);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return true;
}

HWND FindNotesWindow::List() const {
    return Handle() ? GetDlgItem(Handle(), IDC_FIND_LIST) : nullptr;
}

void FindNotesWindow::OnInitDialog() {
    TranslateDialog(Handle(), language);
    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const HDC dc = GetDC(Handle());
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(Handle(), dc);
    for (int c = 0; c < kColumns; ++c) {
        std::wstring heading = language.TextOf(kColumnKeys[c]);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = &heading[0];
        column.cx = MulDiv(kColumnWidths[c], dpi, 96);
        column.iSubItem = c;
        ListView_InsertColumn(list, c, &column);
    }
    Reload();
    Layout();
}

void FindNotesWindow::Layout() {
    HWND dialog = Handle();
    RECT client, edit;
    GetClientRect(dialog, &client);
    HWND box = GetDlgItem(dialog, IDC_FIND_TEXT);
    GetWindowRect(box, &edit);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&edit), 2);
    RECT margin = {7, 7, 7, 7};
    MapDialogRect(dialog, &margin);
    MoveWindow(box, edit.left, edit.top, client.right - margin.right - edit.left,
               edit.bottom - edit.top, TRUE);
    RECT list;
    GetWindowRect(List(), &list);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&list), 2);
    MoveWindow(List(), list.left, list.top, client.right - margin.right - list.left,
               client.bottom - margin.bottom - list.top, TRUE);
}

void FindNotesWindow::Reload() {
    notes = host.FindNotesList();
    rows.clear();
    rows.reserve(notes.size());
    for (const FindNotesHost::Note& n : notes) {
        Row row;
        row.title = folder.Fold(n.data.title);
        row.text = folder.Fold(n.data.text);
        row.shown = folder.Fold(n.shownTitle);
        row.cells[0] = n.shownTitle;
        row.cells[1] = PriorityText(language, n.data.priority);
        row.cells[2] = AlarmText(n.data);
        row.cells[3] = StateText(language, n.data);
        row.cells[4] = DateTimeText(ToSystemTime(n.data.created), false);
        rows.push_back(std::move(row));
    }
    Filter();
}

void FindNotesWindow::SetSearchText(const std::wstring& text) {
    // The edit control's change notification filters the list.
    SetDlgItemTextW(Handle(), IDC_FIND_TEXT, text.c_str());
}

void FindNotesWindow::Match() {
    std::wstring query;
    if (HWND edit = Handle() ? GetDlgItem(Handle(), IDC_FIND_TEXT) : nullptr) {
        query.resize(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1);
        query.resize(
            static_cast<size_t>(GetWindowTextW(edit, &query[0], static_cast<int>(query.size()))));
    }
    words = NoteSearch::FoldedWords(folder, query);
    shown.clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (NoteSearch::MatchesAll(words, rows[i].title, rows[i].text)) shown.push_back(i);
    }
}

void FindNotesWindow::Filter() {
    Match();
    HWND list = List();
    if (!list) return;
    // Without redrawing in between, the list is painted once, afterwards.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemCountEx(list, static_cast<int>(shown.size()), LVSICF_NOSCROLL);
    if (!shown.empty())
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
}

std::wstring FindNotesWindow::CellText(size_t row, int column) const {
    if (row >= shown.size() || column < 0 || column >= kColumns) return std::wstring();
    return rows[shown[row]].cells[column];
}

std::vector<std::pair<size_t, size_t>> FindNotesWindow::Highlights(size_t row) const {
    if (row >= shown.size()) return {};
    return NoteSearch::MatchRanges(words, rows[shown[row]].shown);
}

int FindNotesWindow::SelectedRow() const {
    const int at = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    return at >= 0 && static_cast<size_t>(at) < shown.size() ? at : -1;
}

void FindNotesWindow::ShowSelected() {
    const int at = SelectedRow();
    if (at < 0) return;
    host.ShowFoundNote(notes[shown[static_cast<size_t>(at)]].id);
}

void FindNotesWindow::DeleteSelected() {
    const int at = SelectedRow();
    if (at < 0) return;
    host.DeleteFoundNote(notes[shown[static_cast<size_t>(at)]].id);
    if (!Handle()) return;
    Reload();
    if (!shown.empty()) {
        const int next = std::min(at, static_cast<int>(shown.size()) - 1);
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(List(), next, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(List(), next, FALSE);
    }
}

bool FindNotesWindow::OnCommand(WORD notification, WORD id, HWND) {
    switch (id) {
        case IDC_FIND_TEXT:
            if (notification != EN_CHANGE) return false;
            Filter();
            return true;
        case IDOK:
            ShowSelected();
            return true;
        case IDCANCEL:
            Destroy();
            return true;
        default:
            return false;
    }
}

bool FindNotesWindow::PreTranslate(MSG& message) {
    // The arrow and page keys in the search box move through the list, so that
    // typing and choosing need no Tab in between.
    if (message.message == WM_KEYDOWN && Handle() &&
        message.hwnd == GetDlgItem(Handle(), IDC_FIND_TEXT)) {
        switch (message.wParam) {
            case VK_UP:
            case VK_DOWN:
            case VK_PRIOR:
            case VK_NEXT:
                SendMessageW(List(), WM_KEYDOWN, message.wParam, message.lParam);
                return false;
            default:
                break;
        }
    }
    return DialogWindow::PreTranslate(message);
}

LRESULT FindNotesWindow::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            break;
        default:
            return CDRF_DODEFAULT;
    }
    const size_t row = draw.nmcd.dwItemSpec;
    if (draw.iSubItem != 0 || row >= shown.size()) return CDRF_DODEFAULT;
    const auto ranges = Highlights(row);
    if (ranges.empty()) return CDRF_DODEFAULT;
    // The title with its matches on a highlight of their own.
    RECT cell = {};
    ListView_GetSubItemRect(List(), static_cast<int>(row), 0, LVIR_LABEL, &cell);
    const bool selected = ListView_GetItemState(List(), static_cast<int>(row), LVIS_SELECTED) != 0;
    const HDC dc = draw.nmcd.hdc;
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    SetDCBrushColor(dc, back);
    FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const std::wstring& text = rows[shown[row]].cells[0];
    int x = cell.left + 6;
    const int y = cell.top + ((cell.bottom - cell.top) -
                              [&] {
                                  SIZE s = {};
                                  GetTextExtentPoint32W(dc, L"Ag", 2, &s);
                                  return static_cast<int>(s.cy);
                              }()) /
                                 2;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
    // The whole title is measured once and drawn with those very advances, so
    // each highlight lies exactly under its letters (no gap and no overlap
    // where a piece ends, whatever the font's kerning and overhang).
    const int count = static_cast<int>(std::min<size_t>(text.size(), 32767));
    std::vector<int> ends(static_cast<size_t>(count) + 1, 0);
    SIZE whole = {};
    if (count > 0) {
        GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data() + 1, &whole);
    }
    std::vector<int> advances(static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) advances[i] = ends[i + 1] - ends[i];
    const auto drawTitle = [&] {
        ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(count), advances.data());
    };
    SetBkMode(dc, TRANSPARENT);
    for (const auto& r : ranges) {
        const size_t begin = std::min<size_t>(r.first, static_cast<size_t>(count));
        const size_t end = std::min<size_t>(r.second, static_cast<size_t>(count));
        if (end <= begin) continue;
        RECT mark = {x + ends[begin], cell.top + 1, x + ends[end], cell.bottom - 1};
        SetDCBrushColor(dc, kHighlight);
        FillRect(dc, &mark, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    SetTextColor(dc, fore);
    drawTitle();
    // The matches in dark letters, which read on the highlight whatever the
    // row's own colours are.
    SetTextColor(dc, RGB(0, 0, 0));
    for (const auto& r : ranges) {
        const size_t begin = std::min<size_t>(r.first, static_cast<size_t>(count));
        const size_t end = std::min<size_t>(r.second, static_cast<size_t>(count));
        if (end <= begin) continue;
        const int savedMatch = SaveDC(dc);
        IntersectClipRect(dc, x + ends[begin], cell.top, x + ends[end], cell.bottom);
        drawTitle();
        RestoreDC(dc, savedMatch);
    }
    RestoreDC(dc, saved);
    return CDRF_SKIPDEFAULT;
}

LRESULT FindNotesWindow::OnNotify(NMHDR& header) {
    if (header.idFrom != IDC_FIND_LIST) return 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
            if ((info.item.mask & LVIF_TEXT) && info.item.iItem >= 0 &&
                static_cast<size_t>(info.item.iItem) < shown.size() && info.item.iSubItem >= 0 &&
                info.item.iSubItem < kColumns) {
                // The row keeps its texts, so the list may point at them.
                info.item.pszText =
                    const_cast<wchar_t*>(rows[shown[static_cast<size_t>(info.item.iItem)]]
                                             .cells[info.item.iSubItem]
                                             .c_str());
            }
            return 0;
        }
        case NM_DBLCLK:
            ShowSelected();
            return 0;
        case LVN_KEYDOWN:
            if (reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_DELETE) DeleteSelected();
            return 0;
        case NM_CUSTOMDRAW:
            return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        default:
            return 0;
    }
}

INT_PTR FindNotesWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_SIZE:
            Layout();
            return TRUE;
        case WM_ACTIVATE:
            // Notes may have changed while another window was active.
            if (LOWORD(wParam) != WA_INACTIVE && !rows.empty()) {
                const int selected = SelectedRow();
                Reload();
                if (selected >= 0 && static_cast<size_t>(selected) < shown.size())
                    ListView_SetItemState(List(), selected, LVIS_SELECTED | LVIS_FOCUSED,
                                          LVIS_SELECTED | LVIS_FOCUSED);
            }
            return FALSE;
        case WM_GETDLGCODE:
            return FALSE;
        case WM_NOTIFY:
            SetWindowLongPtrW(window, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
            return TRUE;
        case WM_CLOSE:
            Destroy();
            return TRUE;
        default:
            return FALSE;
    }
}
