#include "tracing/traced.h"

namespace veltrano {

Traced::Traced(const char* procedureName) {
    clsAEHandling::shared().Handler().Push(QString::fromLatin1(procedureName));
}

void Traced::addParam(const char* name, const char* type, const QVariant& value) {
    clsAEHandling::shared().Handler().AddParam(QString::fromLatin1(name), QString::fromLatin1(type),
                                               value);
}

void Traced::end() {
    clsAEHandling::shared().Handler().Pop();
}

void Traced::report(std::exception_ptr error) {
    QString description;
    std::int32_t number = 0;
    try {
        std::rethrow_exception(error);
    } catch (const trapwell::RuntimeError& e) {
        description = e.description();
        number = e.number();
    } catch (const std::exception& e) {
        description = QString::fromLocal8Bit(e.what());
        number = 51;
    } catch (...) {
        description = QStringLiteral("Internal error");
        number = 51;
    }
    clsAEHandling::shared().Handler().HandleError(description, double(number), line_.number(),
                                                  QString());
}

} // namespace veltrano
