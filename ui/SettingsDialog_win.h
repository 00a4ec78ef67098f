#pragma once
// The modeless settings dialog (dialog resource 165). It edits a private copy
// of the settings and never writes a setting itself: OK and Apply post the
// result message to the owner, which takes the edited copy, applies it and
// writes it. The encoding of the message is in SettingsDialogText.h.

#include <string>

#include "store/AppSettings.h"
#include "ui/DialogWindow_win.h"

class LanguageTable;

class SettingsDialog : public DialogWindow {
public:
    static constexpr int kTemplateId = 165;

    // The language of the dialog's texts and questions; it outlives the dialog.
    explicit SettingsDialog(const LanguageTable& language) : language(language) {}

    ~SettingsDialog() override = default;

    // Copies the settings into the edited and the initial record and creates
    // the dialog; nothing happens while its window exists. The owner keeps the
    // object until the result message says that the dialog has closed.
    bool Open(const AppSettings& settings, HWND owner, UINT resultMessage);

    // true: every control into the edited record; false: the record into the
    // controls.
    void Exchange(bool toRecord);

    const AppSettings& Edited() const { return edited; }
    const AppSettings& Initial() const { return initial; }

    // The owner found that run at log-on could not be changed: the box shows
    // the state the system really has.
    void ShowRunAtLogOn(bool on);

    bool OnCommand(WORD notification, WORD id, HWND control) override;
    INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void OnOkOrApply(bool ok);
    void PostResult(bool closed, bool apply, bool restart);
    bool IsChecked(int id) const;

    const LanguageTable& language;
    HWND owner = nullptr;
    UINT resultMessage = 0;
    AppSettings edited;
    AppSettings initial;
};

// The message that tells which of the hot keys in failedMask (bit i for hot
// key i of AppSettings::hotKeys) another program holds: each one's label in
// the dialog and its key combination.
std::wstring TakenHotKeysMessage(const LanguageTable& language, const AppSettings& settings,
                                 unsigned failedMask);
