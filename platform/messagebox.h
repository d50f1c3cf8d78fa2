#pragma once

#include "platform/service.h"

#include <QString>

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

struct MsgBoxCall {
    QString prompt;
    int buttons = 0;
    QString title;
};

// Where message boxes go: the screen, or a test's recorder. Each module has its own
// (service.h).
class MessageBoxes : public Service<MessageBoxes> {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box modally and returns the answer.
    virtual int show(const MsgBoxCall& call) = 0;
    static MessageBoxes& production();

    // The first button of a set (OK, Yes, Abort, Retry): what Enter answers.
    static int firstAnswer(int buttons);
};

// Shows a modal message box (buttons and icon OR-ed together from mb::) and returns the
// answer. An empty title shows the application's name, as the classic one did.
int MsgBox(const QString& prompt, int buttons = mb::OKOnly, const QString& title = {});

} // namespace platform
