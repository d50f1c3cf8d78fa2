#include "platform/objectmembers.h"

#include "platform/classicerrors.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QObject>

#include <array>

namespace platform {

namespace {

bool sameName(const char* a, const char* b, bool caseSensitive) {
    return caseSensitive ? qstrcmp(a, b) == 0 : qstricmp(a, b) == 0;
}

int findProperty(const QMetaObject* meta, const char* name) {
    for (bool exact : {true, false})
        for (int i = 0; i < meta->propertyCount(); ++i)
            if (sameName(meta->property(i).name(), name, exact))
                return i;
    return -1;
}

int findMethod(const QMetaObject* meta, const char* name, int argumentCount) {
    for (bool exact : {true, false})
        for (int i = 0; i < meta->methodCount(); ++i) {
            const QMetaMethod m = meta->method(i);
            if (m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal ||
                m.parameterCount() != argumentCount)
                continue;
            if (sameName(m.name().constData(), name, exact))
                return i;
        }
    return -1;
}

QVariant invoke(QObject* object, const QMetaMethod& method, const QVariantList& args) {
    constexpr int maxArgs = 10;
    if (args.size() > maxArgs)
        raiseError(err::invalidProcedureCall);
    QVariantList converted = args;
    std::array<QGenericArgument, maxArgs> generic{};
    for (int i = 0; i < converted.size(); ++i) {
        const QMetaType type = method.parameterMetaType(i);
        if (type.id() != QMetaType::QVariant && !converted[i].convert(type))
            raiseError(err::typeMismatch);
        generic[i] = type.id() == QMetaType::QVariant
                         ? QGenericArgument("QVariant", &converted[i])
                         : QGenericArgument(type.name(), converted[i].constData());
    }
    const QMetaType returnType = method.returnMetaType();
    QVariant result;
    QGenericReturnArgument ret;
    if (returnType.id() == QMetaType::QVariant) {
        ret = QGenericReturnArgument("QVariant", &result);
    } else if (returnType.isValid() && returnType.id() != QMetaType::Void) {
        result = QVariant(returnType);
        ret = QGenericReturnArgument(returnType.name(), result.data());
    }
    const bool ok = method.invoke(object, Qt::DirectConnection, ret, generic[0], generic[1],
                                  generic[2], generic[3], generic[4], generic[5], generic[6],
                                  generic[7], generic[8], generic[9]);
    if (!ok)
        raiseError(err::memberNotSupported);
    return result;
}

} // namespace

QVariant getMember(QObject* object, const char* name) {
    if (!object)
        raiseError(err::objectNotSet);
    const QMetaObject* meta = object->metaObject();
    const int property = findProperty(meta, name);
    if (property >= 0)
        return meta->property(property).read(object);
    for (const QByteArray& dynamic : object->dynamicPropertyNames())
        if (qstricmp(dynamic.constData(), name) == 0)
            return object->property(dynamic.constData());
    const int method = findMethod(meta, name, 0);
    if (method < 0)
        raiseError(err::memberNotSupported);
    return invoke(object, meta->method(method), {});
}

QVariant callMember(QObject* object, const char* name, const QVariantList& args) {
    if (!object)
        raiseError(err::objectNotSet);
    const QMetaObject* meta = object->metaObject();
    const int method = findMethod(meta, name, int(args.size()));
    if (method < 0)
        raiseError(err::memberNotSupported);
    return invoke(object, meta->method(method), args);
}

void setMember(QObject* object, const char* name, const QVariant& value) {
    if (!object)
        raiseError(err::objectNotSet);
    const QMetaObject* meta = object->metaObject();
    const int property = findProperty(meta, name);
    if (property < 0)
        raiseError(err::memberNotSupported);
    QVariant converted = value;
    const QMetaProperty p = meta->property(property);
    if (!converted.convert(p.metaType()) || !p.write(object, converted))
        raiseError(err::typeMismatch);
}

bool holdsObject(const QVariant& value) {
    return value.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

QObject* objectOf(const QVariant& value) {
    return holdsObject(value) ? value.value<QObject*>() : nullptr;
}

} // namespace platform
