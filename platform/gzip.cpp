#include "platform/gzip.h"

#include <zlib.h>

namespace platform {

namespace {
constexpr int gzipWindow = 15 + 16; // zlib's way of asking for a gzip header and trailer
}

QByteArray gzipCompress(const QByteArray& data) {
    z_stream z{};
    // Level 6 is zlib's default; reports are text and shrink several times either way.
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzipWindow, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = deflate(&z, Z_FINISH);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        return {};
    out.resize(qsizetype(z.total_out));
    return out;
}

QByteArray gzipDecompress(const QByteArray& gzip) {
    z_stream z{};
    if (inflateInit2(&z, gzipWindow) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.constData()));
    z.avail_in = uInt(gzip.size());
    QByteArray out;
    char chunk[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(chunk, qsizetype(sizeof chunk - z.avail_out));
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

} // namespace platform
