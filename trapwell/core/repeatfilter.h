#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <map>
#include <tuple>

namespace trapwell::core {

// Decides whether a handled error opens the error dialog or is only counted: the same error
// (number, procedure, line) within the window after its last dialog closed, or while that
// dialog is still open (a timer keeps firing inside the modal loop), is a repeat.
class RepeatFilter {
public:
    struct Key {
        std::int32_t number = 0;
        QString procedure;
        std::int32_t line = 0;
        bool operator<(const Key& o) const {
            return std::tie(number, procedure, line) < std::tie(o.number, o.procedure, o.line);
        }
    };
    struct Verdict {
        bool show = true;
        // For a dialog after repeats: "… and 37 more times since 10:02"; empty otherwise.
        QString note;
    };

    // Seconds; 0 turns the filter off.
    std::int32_t window() const { return window_; }
    void setWindow(std::int32_t seconds);

    // Counts one occurrence at now. When it is shown, the caller reports dialogClosed().
    Verdict occurred(const Key& key, const QDateTime& now);
    void dialogClosed(const Key& key, const QDateTime& now);

private:
    struct Entry {
        QDateTime shownAt;
        QDateTime closedAt; // invalid while the dialog is open
        int repeats = 0;
    };
    void forgetExpired(const QDateTime& now);

    std::int32_t window_ = 0;
    std::map<Key, Entry> entries_;
};

} // namespace trapwell::core
