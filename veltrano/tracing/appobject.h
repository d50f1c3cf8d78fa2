#pragma once

#include <QObject>
#include <QString>

namespace veltrano {

// The running program as the error component reads it, member by member.
class AppObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Title READ Title CONSTANT)
    Q_PROPERTY(QString ProductName READ ProductName CONSTANT)
    Q_PROPERTY(int Major READ Major CONSTANT)
    Q_PROPERTY(int Minor READ Minor CONSTANT)
    Q_PROPERTY(int Revision READ Revision CONSTANT)
    Q_PROPERTY(QString Path READ Path CONSTANT)
    Q_PROPERTY(QString EXEName READ EXEName CONSTANT)
    Q_PROPERTY(QString CompanyName READ CompanyName CONSTANT)
    Q_PROPERTY(QString Comments READ Empty CONSTANT)
    Q_PROPERTY(QString FileDescription READ Empty CONSTANT)
    Q_PROPERTY(QString HelpFile READ Empty CONSTANT)
    Q_PROPERTY(QString LegalCopyright READ Empty CONSTANT)
    Q_PROPERTY(QString LegalTrademarks READ Empty CONSTANT)
    Q_PROPERTY(QString LogPath READ Empty CONSTANT)
    Q_PROPERTY(int LogMode READ LogMode CONSTANT)

public:
    QString Title() const { return QStringLiteral("Veltrano Rudoz Arirera"); }
    QString ProductName() const { return QStringLiteral("Veltrano"); }
    int Major() const;
    int Minor() const;
    int Revision() const;
    // The folder the program's logs go to, without a trailing separator.
    QString Path() const;
    QString EXEName() const;
    QString CompanyName() const;
    QString Empty() const { return {}; }
    int LogMode() const { return 0; }
};

} // namespace veltrano
