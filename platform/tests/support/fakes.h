#pragma once

// Fakes of the platform's services for tests: each puts itself in place of the real service
// for its lifetime (service.h) and records what the code under test asked of it.

#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/programend.h"
#include "platform/shell.h"
#include "platform/systemlog.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <utility>

namespace platform {

// Sees every message box and answers for the user, so no test blocks on a modal box.
class MsgBoxRecorder final : public MessageBoxes {
public:
    // answer decides what each box returns; by default the first button (OK, Yes, Abort...).
    explicit MsgBoxRecorder(std::function<int(const MsgBoxCall&)> answer = {})
        : answer_(std::move(answer)) {}
    int show(const MsgBoxCall& call) override {
        calls_.append(call);
        return answer_ ? answer_(call) : firstAnswer(call.buttons);
    }
    const QList<MsgBoxCall>& calls() const { return calls_; }
    // Each box as "title: prompt", in the order shown: one comparison says what the user saw.
    QStringList texts() const {
        QStringList out;
        for (const MsgBoxCall& call : calls_)
            out << call.title + QStringLiteral(": ") + call.prompt;
        return out;
    }

private:
    QList<MsgBoxCall> calls_;
    std::function<int(const MsgBoxCall&)> answer_;
    Override use_{*this};
};

// Sees every address handed to the desktop and answers for it.
class ShellRecorder final : public Shell {
public:
    // answer decides what each open returns; by default success.
    explicit ShellRecorder(std::function<int(const QUrl&)> answer = {})
        : answer_(std::move(answer)) {}
    int open(const QUrl& url) override {
        opened_.append(url);
        return answer_ ? answer_(url) : shell::success;
    }
    const QList<QUrl>& opened() const { return opened_; }

private:
    QList<QUrl> opened_;
    std::function<int(const QUrl&)> answer_;
    Override use_{*this};
};

// A clock that stands still until the test moves it.
class SettableClock final : public Clock {
public:
    explicit SettableClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void advance(int seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_;
    Override use_{*this};
};

// Keeps every system-log entry instead of writing it.
class SystemLogRecorder final : public SystemLog {
public:
    struct Entry {
        QString ident;
        QString message;
    };
    void write(const QString& ident, const QString& message) override {
        entries_.append({ident, message});
    }
    const QList<Entry>& entries() const { return entries_; }

private:
    QList<Entry> entries_;
    Override use_{*this};
};

// Counts the program's ends instead of ending the test.
class ProgramEndRecorder final : public ProgramEnd {
public:
    void end(int exitCode) override {
        ++count_;
        lastExitCode_ = exitCode;
    }
    int count() const { return count_; }
    int lastExitCode() const { return lastExitCode_; }

private:
    int count_ = 0;
    int lastExitCode_ = 0;
    Override use_{*this};
};

} // namespace platform
