#pragma once

#include <QVariant>
#include <QVariantList>

class QObject;

namespace platform {

// Late-bound access to a host's object by member name, as the classic runtime did: a
// property, or else an invokable method without arguments. Names match case-insensitively
// when there is no exact match. Raises error 91 for a null object and 438 when the object
// has no such member.
QVariant getMember(QObject* object, const char* name);

// Calls an invokable method with the given arguments (converted to its parameter types),
// returning its result (an invalid QVariant for void methods). Errors as for getMember;
// arguments that cannot be converted raise 13.
QVariant callMember(QObject* object, const char* name, const QVariantList& args = {});

// Sets a property by name, converting the value to its type; errors as for getMember, and
// 13 when the value cannot be converted.
void setMember(QObject* object, const char* name, const QVariant& value);

// A QObject held in a variant, or nullptr when the variant holds something else.
QObject* objectOf(const QVariant& value);
bool holdsObject(const QVariant& value);

} // namespace platform
