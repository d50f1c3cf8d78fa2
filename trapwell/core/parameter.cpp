#include "core/parameter.h"

#include "platform/objectmembers.h"

namespace trapwell::core {

Parameter::Parameter(QString param, QString prmType, const QVariant& value)
    : param_(std::move(param)), prmType_(std::move(prmType)) {
    if (platform::holdsObject(value)) {
        isObject_ = true;
        object_ = platform::objectOf(value);
        // A null object reference stays a null reference, not a destroyed one.
        if (!object_)
            value_ = value;
    } else {
        value_ = value;
    }
}

QVariant Parameter::Value() const {
    if (isObject_ && object_)
        return QVariant::fromValue<QObject*>(object_.data());
    return value_;
}

} // namespace trapwell::core
