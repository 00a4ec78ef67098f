#pragma once
// Which of the program's files could not be written at the last attempt. A
// failure is told to the user once; while the file keeps failing nothing more is
// said, and once it has been written again a later failure is told anew.

#include <cstddef>

enum class SaveTarget : size_t {
    Notes,     // Notes.dat, or the copy kept of an unreadable one before it is replaced
    Settings,  // Settings.ini
    Backup,    // the daily copy of Notes.dat in the Backups folder
    Count,
};

class SaveWatch {
public:
    // Records an attempt. True when it is a failure that the user has not been
    // told of: the first since the file was last written.
    bool Record(SaveTarget target, bool written) {
        bool& failing = failing_[static_cast<size_t>(target)];
        const bool tell = !written && !failing;
        failing = !written;
        return tell;
    }

    bool Failing(SaveTarget target) const { return failing_[static_cast<size_t>(target)]; }

    bool AnyFailing() const {
        for (bool f : failing_) {
            if (f) return true;
        }
        return false;
    }

private:
    bool failing_[static_cast<size_t>(SaveTarget::Count)] = {};
};
