#include "platform/classicerrors.h"

#include <cerrno>

namespace platform {

QString classicErrorText(std::int32_t number) {
    switch (number) {
    case 3:
        return QStringLiteral("Return without GoSub");
    case 5:
        return QStringLiteral("Invalid procedure call or argument");
    case 6:
        return QStringLiteral("Overflow");
    case 7:
        return QStringLiteral("Out of memory");
    case 9:
        return QStringLiteral("Subscript out of range");
    case 11:
        return QStringLiteral("Division by zero");
    case 13:
        return QStringLiteral("Type mismatch");
    case 51:
        return QStringLiteral("Internal error");
    case 52:
        return QStringLiteral("Bad file name or number");
    case 53:
        return QStringLiteral("File not found");
    case 54:
        return QStringLiteral("Bad file mode");
    case 55:
        return QStringLiteral("File already open");
    case 57:
        return QStringLiteral("Device I/O error");
    case 58:
        return QStringLiteral("File already exists");
    case 61:
        return QStringLiteral("Disk full");
    case 62:
        return QStringLiteral("Input past end of file");
    case 67:
        return QStringLiteral("Too many files");
    case 68:
        return QStringLiteral("Device unavailable");
    case 70:
        return QStringLiteral("Permission denied");
    case 71:
        return QStringLiteral("Disk not ready");
    case 75:
        return QStringLiteral("Path/File access error");
    case 76:
        return QStringLiteral("Path not found");
    case 91:
        return QStringLiteral("Object variable or With block variable not set");
    case 94:
        return QStringLiteral("Invalid use of Null");
    case 380:
        return QStringLiteral("Invalid property value");
    case 424:
        return QStringLiteral("Object required");
    case 429:
        return QStringLiteral("ActiveX component can't create object");
    case 438:
        return QStringLiteral("Object doesn't support this property or method");
    case 445:
        return QStringLiteral("Object doesn't support this action");
    case 453:
        return QStringLiteral("Specified DLL function not found");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

com::RuntimeError classicError(std::int32_t number, const QString& source) {
    return com::RuntimeError(number, source, classicErrorText(number));
}

void raiseError(std::int32_t number, const QString& source) {
    throw classicError(number, source);
}

std::int32_t errorNumberFromErrno(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return err::pathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return err::pathFileAccessError;
    case ENOSPC:
    case EDQUOT:
        return err::diskFull;
    case EMFILE:
    case ENFILE:
        return 67; // Too many files
    case EIO:
        return 57; // Device I/O error
    case EEXIST:
        return 58; // File already exists
    case ENAMETOOLONG:
        return err::badFileNameOrNumber;
    default:
        // The classic runtime reported any other failure to reach a file this way.
        return err::pathFileAccessError;
    }
}

} // namespace platform
