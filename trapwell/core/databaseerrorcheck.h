#pragma once

#include <QString>

#include <cstdint>

class QObject;

namespace trapwell::core {

// Turns the errors of the host's database connection into the text of the error being
// handled. Any failure ends the check; what it changed until then stays.
class DatabaseErrorCheck {
public:
    // With no connection nothing happens. Otherwise the connection's errors, when there are
    // any with a native code, replace errDesc, move errNum by 0x7FFC0000 and make errorType 1;
    // without errors only the driver prefix is taken off errDesc. The collection is cleared
    // and refreshed afterwards.
    static void run(QObject* connection, QString& errDesc, std::int32_t& errNum,
                    std::int32_t& errorType);

    // "Database Error: " + the text after the last listed driver prefix found in text, or
    // text unchanged when it holds none.
    static QString withoutDriverPrefix(const QString& text);
};

} // namespace trapwell::core
