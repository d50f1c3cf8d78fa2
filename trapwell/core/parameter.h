#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>

namespace trapwell::core {

// One recorded parameter of a procedure: name, the host's type name and the value taken at
// the call. An object value is held as a reference (which notices when the host destroys
// the object); any other value as a copy.
class Parameter {
public:
    Parameter(QString param, QString prmType, const QVariant& value);

    const QString& Param() const { return param_; }
    const QString& PrmType() const { return prmType_; }
    // The value; for an object, a variant holding it (null once the host destroyed it).
    QVariant Value() const;
    // True for an object value whose object no longer exists.
    bool objectGone() const { return isObject_ && !object_; }

private:
    QString param_;
    QString prmType_;
    QVariant value_;
    QPointer<QObject> object_;
    bool isObject_ = false;
};

} // namespace trapwell::core
