#pragma once

#include <QByteArray>

namespace platform {

// data in the gzip format (RFC 1952), as HTTP's "Content-Encoding: gzip" expects it; empty
// only when zlib fails.
QByteArray gzipCompress(const QByteArray& data);
// The data of a gzip stream; empty when it is not one. For tests and receivers.
QByteArray gzipDecompress(const QByteArray& gzip);

} // namespace platform
