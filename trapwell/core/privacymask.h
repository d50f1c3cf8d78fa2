#pragma once

#include <QString>
#include <QStringList>

namespace trapwell::core {

// Masks what identifies the user in a report that leaves the machine: the home folder
// (as "~"), the user and host names, e-mail addresses, and the values of parameters whose
// names contain one of the listed words (case-insensitive). What is shown on screen and
// written to Error.log is never masked; only copies that go out are.
class PrivacyMask {
public:
    static QStringList defaultParameterNames();

    // This user, this host and the given parameter names.
    explicit PrivacyMask(QStringList parameterNames = defaultParameterNames());
    PrivacyMask(QString home, QString user, QString host, QStringList parameterNames);

    QString apply(const QString& text) const;

private:
    QString home_, user_, host_;
    QStringList parameterNames_;
};

} // namespace trapwell::core
