#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

struct zip;

namespace veltrano {

// A zip archive opened for reading, entry by entry, without anything of it reaching the disk
// unless the caller writes it. Not copyable.
class ZipArchive {
public:
    // Opens path and checks the archive's consistency; see problem() when it is not open.
    explicit ZipArchive(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool isOpen() const { return archive_ != nullptr; }
    // Why the archive did not open or the last read failed, as a phrase after the file's name.
    QString problem() const { return problem_; }

    // The first entry name that would land outside the folder it is unpacked into (absolute,
    // or climbing up with ".."), or an empty string when there is none.
    QString escapingName() const;
    bool contains(const QString& name) const;

    // Hands the entry's bytes to sink as they inflate, and stops with a problem when the
    // entry is damaged, says it is larger than limit or inflates past limit (a zip bomb's
    // header lies), or sink returns false. True when the whole entry went to sink.
    bool read(const QString& name, qint64 limit, const std::function<bool(QByteArrayView)>& sink);

    // The problem of an archive that unpacks to more than limit bytes.
    static QString tooLarge(qint64 limit);

private:
    zip* archive_ = nullptr;
    QString problem_;
};

} // namespace veltrano
