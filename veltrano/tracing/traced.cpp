#include "tracing/traced.h"

#include <trapwell/comtypes.h>

namespace veltrano {

Traced::Traced(QStringView procedureName) {
    clsAEHandling::shared().Handler().Push(
        QString::fromRawData(procedureName.data(), procedureName.size()));
}

void Traced::addParam(const char* name, const char* type, const QVariant& value) {
    clsAEHandling::shared().Handler().AddParam(QString::fromLatin1(name), QString::fromLatin1(type),
                                               value);
}

void Traced::end() {
    clsAEHandling::shared().Handler().Pop();
}

void Traced::report(std::exception_ptr error) {
    trapwell::RuntimeError failure(0, {}, {});
    try {
        std::rethrow_exception(error);
    } catch (...) {
        failure = trapwell::currentExceptionAsError();
    }
    clsAEHandling::shared().Handler().HandleError(failure.description(), double(failure.number()),
                                                  line_.number(), QString());
}

} // namespace veltrano
