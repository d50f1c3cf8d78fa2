#include "com/errorrecord.h"

namespace com {

namespace {
struct Record {
    std::int32_t number = 0;
    QString source;
    QString description;
};
thread_local Record lastRecord;
} // namespace

void setErrorRecord(std::int32_t number, const QString& source, const QString& description) {
    lastRecord = {number, source, description};
}

void clearErrorRecord() {
    lastRecord = {};
}

com::HResult readErrorRecord(std::int32_t* number, QString* source, QString* description) {
    if (!number || !source || !description)
        return com::status::pointer;
    *number = lastRecord.number;
    *source = lastRecord.source;
    *description = lastRecord.description;
    return lastRecord.number == 0 ? com::status::falseResult : com::status::ok;
}

} // namespace com
