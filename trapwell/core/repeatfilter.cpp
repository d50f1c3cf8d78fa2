#include "core/repeatfilter.h"

#include "platform/classicerrors.h"

namespace trapwell::core {

namespace {
// Distinct failing places a host is likely to have at once; beyond it expired ones go.
constexpr std::size_t entriesKept = 64;
} // namespace

void RepeatFilter::setWindow(std::int32_t seconds) {
    if (seconds < 0)
        platform::raiseError(platform::err::invalidPropertyValue);
    window_ = seconds;
    if (seconds == 0)
        entries_.clear();
}

RepeatFilter::Verdict RepeatFilter::occurred(const Key& key, const QDateTime& now) {
    if (window_ == 0)
        return {};
    const auto found = entries_.find(key);
    if (found != entries_.end()) {
        Entry& entry = found->second;
        const bool open = !entry.closedAt.isValid();
        if (open || entry.closedAt.secsTo(now) < window_) {
            ++entry.repeats;
            return {false, {}};
        }
    }
    Verdict verdict;
    if (found != entries_.end() && found->second.repeats > 0)
        verdict.note = QStringLiteral("… and %1 more times since %2")
                           .arg(found->second.repeats)
                           .arg(found->second.shownAt.toString(QStringLiteral("HH:mm")));
    if (entries_.size() >= entriesKept)
        forgetExpired(now);
    entries_[key] = Entry{now, {}, 0};
    return verdict;
}

void RepeatFilter::dialogClosed(const Key& key, const QDateTime& now) {
    const auto found = entries_.find(key);
    if (found != entries_.end())
        found->second.closedAt = now;
}

void RepeatFilter::forgetExpired(const QDateTime& now) {
    std::erase_if(entries_, [&](const auto& item) {
        const Entry& e = item.second;
        return e.closedAt.isValid() && e.closedAt.secsTo(now) >= window_;
    });
}

} // namespace trapwell::core
