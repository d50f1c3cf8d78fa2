#include "wordimport/ankipackage.h"

#include "wordimport/ankicollection.h"
#include "wordimport/ziparchive.h"

#include <QFile>
#include <QTemporaryDir>

#include <zstd.h>

#include <memory>

namespace veltrano {

namespace {

// Decompresses a zstd stream handed over in pieces into a file, and no more than limit bytes
// of it, whatever its frame header declares.
class ZstdToFile {
public:
    ZstdToFile(QFile& file, qint64 limit) : file_(file), limit_(limit) {}

    bool feed(QByteArrayView input) {
        if (written_ == 0) {
            const unsigned long long declared =
                ZSTD_getFrameContentSize(input.data(), input.size());
            if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared != ZSTD_CONTENTSIZE_ERROR &&
                declared > quint64(limit_))
                return fail(ZipArchive::tooLarge(limit_));
        }
        ZSTD_inBuffer in{input.data(), size_t(input.size()), 0};
        while (in.pos < in.size) {
            ZSTD_outBuffer out{buffer_.data(), size_t(buffer_.size()), 0};
            left_ = ZSTD_decompressStream(stream_.get(), &out, &in);
            if (ZSTD_isError(left_))
                return fail(QStringLiteral("holds a damaged compressed collection (%1)")
                                .arg(QLatin1String(ZSTD_getErrorName(left_))));
            written_ += qint64(out.pos);
            if (written_ > limit_)
                return fail(ZipArchive::tooLarge(limit_));
            if (file_.write(buffer_.constData(), qint64(out.pos)) != qint64(out.pos))
                return fail(QStringLiteral("cannot be unpacked (%1)").arg(file_.errorString()));
        }
        return true;
    }

    // True when the stream ended with a whole frame.
    bool finish() {
        return left_ == 0 ||
               fail(QStringLiteral("holds a compressed collection that is cut short"));
    }

    QString problem() const { return problem_; }

private:
    bool fail(const QString& problem) {
        problem_ = problem;
        return false;
    }

    const std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream_{ZSTD_createDStream(),
                                                                           ZSTD_freeDStream};
    QByteArray buffer_{qsizetype(ZSTD_DStreamOutSize()), Qt::Uninitialized};
    QFile& file_;
    const qint64 limit_;
    qint64 written_ = 0;
    size_t left_ = 1; // what ZSTD_decompressStream last said was still to come; 0 at a frame's end
    QString problem_;
};

QString unpack(ZipArchive& zip, const QString& entry, QFile& file) {
    const qint64 limit = AnkiPackage::maxUnpackedBytes;
    if (entry.endsWith(u'b')) {
        ZstdToFile zstd(file, limit);
        if (!zip.read(entry, limit, [&](QByteArrayView bytes) { return zstd.feed(bytes); }))
            return zstd.problem().isEmpty() ? zip.problem() : zstd.problem();
        return zstd.finish() ? QString() : zstd.problem();
    }
    QString problem;
    const bool read = zip.read(entry, limit, [&](QByteArrayView bytes) {
        if (file.write(bytes.data(), bytes.size()) == bytes.size())
            return true;
        problem = QStringLiteral("cannot be unpacked (%1)").arg(file.errorString());
        return false;
    });
    return read ? QString() : problem.isEmpty() ? zip.problem() : problem;
}

} // namespace

WordList AnkiPackage::read(const QString& path) {
    ZipArchive zip(path);
    if (!zip.isOpen())
        return WordList::failure(zip.problem());
    if (const QString name = zip.escapingName(); !name.isEmpty())
        return WordList::failure(
            QStringLiteral("holds an entry whose name leads out of its folder (%1)").arg(name));
    QString entry;
    for (const char* name : {"collection.anki21b", "collection.anki21", "collection.anki2"}) {
        if (zip.contains(QLatin1String(name))) {
            entry = QLatin1String(name);
            break;
        }
    }
    if (entry.isEmpty())
        return WordList::failure(QStringLiteral("is not an Anki package (it holds no collection)"));

    const QTemporaryDir folder; // mode 0700
    if (!folder.isValid())
        return WordList::failure(
            QStringLiteral("cannot be unpacked (%1)").arg(folder.errorString()));
    const QString database = folder.filePath(QStringLiteral("collection.db"));
    QFile file(database);
    if (!file.open(QIODevice::WriteOnly))
        return WordList::failure(QStringLiteral("cannot be unpacked (%1)").arg(file.errorString()));
    const QString problem = unpack(zip, entry, file);
    file.close();
    if (!problem.isEmpty())
        return WordList::failure(problem);

    WordList list = AnkiCollection::read(database);
    if (list.failed())
        return list;
    if (list.entries.isEmpty())
        return WordList::failure(QStringLiteral("holds no notes"));
    if (list.entries.size() == 1 && entry == QLatin1String("collection.anki2") &&
        list.entries[0].word.contains(QLatin1String("update to the latest Anki"),
                                      Qt::CaseInsensitive))
        return WordList::failure(QStringLiteral(
            "was made by a newer version of Anki and holds only its note asking to update"));
    return list;
}

} // namespace veltrano
