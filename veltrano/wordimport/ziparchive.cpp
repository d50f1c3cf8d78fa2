#include "wordimport/ziparchive.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace veltrano {

ZipArchive::ZipArchive(const QString& path) {
    int error = 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive_)
        return;
    if (error == ZIP_ER_NOZIP) {
        problem_ = QStringLiteral("is not a zip archive (or is cut short)");
        return;
    }
    zip_error_t detail;
    zip_error_init_with_code(&detail, error);
    problem_ = QStringLiteral("is a damaged zip archive (%1)")
                   .arg(QString::fromUtf8(zip_error_strerror(&detail)));
    zip_error_fini(&detail);
}

QString ZipArchive::tooLarge(qint64 limit) {
    return QStringLiteral("would unpack to more than %1 MB").arg(limit / (1024 * 1024));
}

ZipArchive::~ZipArchive() {
    if (archive_)
        zip_discard(archive_);
}

QString ZipArchive::escapingName() const {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(archive_, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        const QString name = QString::fromUtf8(raw ? raw : "");
        // Either slash separates folders for some unpacker; "C:" starts a Windows path.
        const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/');
        if (name.startsWith(u'/') || name.startsWith(u'\\') ||
            parts.contains(QStringLiteral("..")) || (name.size() > 1 && name[1] == u':'))
            return name;
    }
    return {};
}

bool ZipArchive::contains(const QString& name) const {
    return zip_name_locate(archive_, name.toUtf8().constData(), 0) >= 0;
}

bool ZipArchive::read(const QString& name, qint64 limit,
                      const std::function<bool(QByteArrayView)>& sink) {
    const zip_int64_t index = zip_name_locate(archive_, name.toUtf8().constData(), 0);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) != 0) {
        problem_ = QStringLiteral("has no entry %1").arg(name);
        return false;
    }
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(limit)) {
        problem_ = tooLarge(limit);
        return false;
    }
    const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(
        zip_fopen_index(archive_, zip_uint64_t(index), 0), zip_fclose);
    if (!file) {
        problem_ = QStringLiteral("is a damaged zip archive (%1)")
                       .arg(QString::fromUtf8(zip_strerror(archive_)));
        return false;
    }
    char buffer[64 * 1024];
    qint64 total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            problem_ = QStringLiteral("is a damaged zip archive (%1)")
                           .arg(QString::fromUtf8(zip_file_strerror(file.get())));
            return false;
        }
        if (got == 0)
            return true;
        total += got;
        if (total > limit) {
            problem_ = tooLarge(limit);
            return false;
        }
        if (!sink(QByteArrayView(buffer, got)))
            return false;
    }
}

} // namespace veltrano
