#include "core/privacymask.h"

#include <QDir>
#include <QHostInfo>
#include <QRegularExpression>

#include <pwd.h>
#include <unistd.h>

namespace trapwell::core {

namespace {

const QString masked = QStringLiteral("<masked>");

QString userName() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

// Whole words only, so a short user name ("al") does not eat parts of other words.
void replaceWord(QString& text, const QString& word, const QString& by) {
    if (word.size() < 2)
        return;
    const QRegularExpression re(QStringLiteral("(?<![\\w.-])") + QRegularExpression::escape(word) +
                                QStringLiteral("(?![\\w-])"));
    text.replace(re, by);
}

} // namespace

QStringList PrivacyMask::defaultParameterNames() {
    return {QStringLiteral("password"), QStringLiteral("passwd"), QStringLiteral("token"),
            QStringLiteral("secret"),   QStringLiteral("key"),    QStringLiteral("email"),
            QStringLiteral("mail")};
}

PrivacyMask::PrivacyMask(QStringList parameterNames)
    : PrivacyMask(QDir::homePath(), userName(), QHostInfo::localHostName(),
                  std::move(parameterNames)) {
}

PrivacyMask::PrivacyMask(QString home, QString user, QString host, QStringList parameterNames)
    : home_(std::move(home)), user_(std::move(user)), host_(std::move(host)),
      parameterNames_(std::move(parameterNames)) {
}

QString PrivacyMask::apply(const QString& text) const {
    QString out = text;
    // Parameter values first, while their names can still be read: the listing's
    // "Name: \t<name>" line is followed by "Type : \t..." and "Value: \t<value>".
    static const QRegularExpression parameter(QStringLiteral(
        "(Name: \\t([^\\r\\n]*)\\r\\nType : \\t[^\\r\\n]*\\r\\nValue: \\t)([^\\r\\n]*)"));
    QString result;
    qsizetype last = 0;
    for (auto it = parameter.globalMatch(out); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        bool secret = false;
        for (const QString& word : parameterNames_)
            secret =
                secret || (!word.isEmpty() && m.captured(2).contains(word, Qt::CaseInsensitive));
        result += out.mid(last, m.capturedStart(3) - last);
        result += secret && !m.captured(3).isEmpty() ? masked : m.captured(3);
        last = m.capturedEnd(3);
    }
    out = result + out.mid(last);

    static const QRegularExpression email(
        QStringLiteral("[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+"));
    out.replace(email, QStringLiteral("<email>"));
    if (home_.size() > 1)
        out.replace(home_, QStringLiteral("~"));
    replaceWord(out, host_, QStringLiteral("<host>"));
    replaceWord(out, user_, QStringLiteral("<user>"));
    return out;
}

} // namespace trapwell::core
