#pragma once

#include "com/runtimeerror.h"

#include <QVariant>

#include <string>
#include <type_traits>

// What a call gives, as text for comparing: its result, "ok" when it returns nothing, or
// "error N" for the classic error it raises.
template <typename Call> std::string outcome(Call&& call) {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            return "ok";
        } else {
            return QVariant::fromValue(call()).toString().toStdString();
        }
    } catch (const com::RuntimeError& e) {
        return "error " + std::to_string(e.number());
    }
}
