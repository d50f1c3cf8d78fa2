#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace platform {

// Message boxes with the classic button and icon flags and answers.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
// Answers.
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace mb

// Shows a modal message box (buttons and icon OR-ed together from mb::) and returns the
// answer. An empty title shows the application's name, as the classic one did.
int MsgBox(const QString& prompt, int buttons = mb::OKOnly, const QString& title = {});

// Tests put a recorder in place of the real boxes: it sees every call and answers for the
// user, so no test ever blocks on a modal box.
struct MsgBoxCall {
    QString prompt;
    int buttons = 0;
    QString title;
};
class MsgBoxRecorder {
public:
    // answer decides what each box returns; by default the first button (OK, Yes, Abort...).
    explicit MsgBoxRecorder(std::function<int(const MsgBoxCall&)> answer = {});
    ~MsgBoxRecorder();
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    const QList<MsgBoxCall>& calls() const { return calls_; }

private:
    friend int MsgBox(const QString&, int, const QString&);
    int record(const MsgBoxCall& call);

    QList<MsgBoxCall> calls_;
    std::function<int(const MsgBoxCall&)> answer_;
    MsgBoxRecorder* previous_;
};

} // namespace platform
