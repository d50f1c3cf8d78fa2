#include "delivery/geturl.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/loopbackhttp.h"
#include "platform/tests/support/testpeer.h"

#include <trapwell/comtypes.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

using namespace trapwell::delivery;
using namespace std::chrono_literals;

namespace {

const QString noConnection = QStringLiteral("Failed sending: Coludn't Connect to Server");

// A server of the test's own (httpserver.py): fixed answers by path, each request logged.
class Http : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server.port(), 0) << server.errors().data(); }
    // On the server, or on a port that refuses connections.
    QString url(const QString& path, bool refusing = false) const {
        return QStringLiteral("http://127.0.0.1:%1%2")
            .arg(refusing ? refused.port() : server.port())
            .arg(path);
    }
    // "path?query<TAB>user agent" of each request the server saw.
    QStringList requests() const {
        QFile file(dir.filePath(QStringLiteral("requests.log")));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    const RefusedPort refused;
    const QTemporaryDir dir;
    TestPeer server{
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(HTTP_TEST_SERVER), dir.filePath(QStringLiteral("requests.log"))}};
};

} // namespace

// Whatever the text, the result may stand in a request line: printable ASCII only, and
// letters whose upper case is ASCII go as UTF-8. (What each character becomes shows in the
// requests PostToUrl makes.)
TEST(UrlEncode, GivesPrintableAsciiForEveryCharacter) {
    int found = 0;
    for (char16_t code = 0x80; code != 0; ++code) {
        const QChar c(code);
        const QString encoded = UrlEncode(QString(c));
        for (const QChar out : encoded)
            ASSERT_TRUE(out.unicode() > 0x20 && out.unicode() < 0x7F) << int(code);
        const char16_t upper = c.toUpper().unicode();
        if ((upper >= u'0' && upper <= u'9') || (upper >= u'A' && upper <= u'Z')) {
            ++found;
            EXPECT_EQ(QUrl::fromPercentEncoding(encoded.toLatin1()), QString(c)) << int(code);
        }
    }
    EXPECT_GE(found, 2);
}

TEST_F(Http, PostToUrlSendsEncodedPairsWithTheFinalAmpersandOrTellsWhyNot) {
    // The dialog shows the result; a box from here would show it twice.
    platform::MsgBoxRecorder boxes;
    QString address = url("/post?k=1"), empty, dead = url({}, true);
    QStringList pairs{
        "n a", "a b&c=d\u0131s\u017F", "azAZ09-_.~", "\r\n\x01\u00E9\u0100\u20AC", "e", {}},
        none, most(254, "z"), odd{"a", "1", "b"}, tooMany(256, "x");
    EXPECT_EQ(PostToUrl(empty, pairs), QStringLiteral("Failed sending: URL property is empty"));
    EXPECT_EQ(PostToUrl(address, odd),
              QStringLiteral("Failed sending: Quantity of parameter names and quantity of "
                             "corresponding values must be equal"));
    EXPECT_EQ(PostToUrl(dead, pairs), noConnection);
    EXPECT_THROW(PostToUrl(address, tooMany), trapwell::RuntimeError);
    EXPECT_TRUE(requests().isEmpty());

    EXPECT_EQ(PostToUrl(address, pairs), QStringLiteral("thanks"));
    PostToUrl(address, none);
    PostToUrl(address, most);
    const QStringList seen = requests();
    ASSERT_EQ(seen.size(), 3);
    // Letters and digits stay, a space becomes "+", the rest the hex of its UTF-16 code (of
    // its UTF-8 bytes for letters whose upper case is ASCII), each pair ended by "&".
    EXPECT_EQ(seen[0], QStringLiteral("/post?k=1?n+a=a+b%26c%3Dd%C4%B1s%C5%BF&azAZ09%2D%5F%2E%7E="
                                      "%0D%0A%01%E9%100%20AC&e=&\tvb wininet"));
    EXPECT_EQ(seen[1], QStringLiteral("/post?k=1?\tvb wininet"));
    EXPECT_EQ(seen[2].count(QStringLiteral("z=z&")), 127);
    EXPECT_TRUE(boxes.calls().isEmpty());
}

// The answer as far as it arrived, whatever its status, or the failure text when none began.
TEST_F(Http, OpenUrlGivesTheFinalAnswerOrTheFailureText) {
    const struct {
        QString address, expected;
        std::chrono::milliseconds limit = 1s; // a stalled answer ends after it
    } rows[] = {
        // Read and dropped until the time bound ends it (long enough for more than a
        // megabyte to arrive on a loaded machine): a message without end is no answer.
        {url("/endless"), noConnection, 3s},
        {url("/huge"), QString(1024 * 1024, u'h')}, // only the first megabyte is kept
        {url("/three"), "ok!"},
        // Longer than one read, with a character split between two.
        {url("/long"), QString(255, u'x') + QChar(0xE9) + QString(100, u'y')},
        {url("/missing"), "<html>No such page</html>"},
        {url("/redirect"), "ok!"},
        // Went quiet after some of the body, or after the headers.
        {url("/stall"), "part"},
        {url("/head-only"), ""},
        // Went quiet before the headers ended, or before anything.
        {url("/unfinished-head"), noConnection},
        {url("/silent"), noConnection},
        {url({}, true), noConnection},
        {url("/three").mid(7), noConnection}, // no scheme
        {"http://[127.0.0.1/", noConnection},
    };
    // Direct connection: a proxy in the environment is not used.
    qputenv("http_proxy", url({}, true).toUtf8());
    for (auto row : rows) {
        const platform::TestHttpLimits limits(row.limit);
        const QString got = OpenUrl(row.address);
        EXPECT_TRUE(got == row.expected)
            << row.address.toStdString() << " gave \"" << got.left(60).toStdString() << "\", "
            << got.size() << " characters";
    }
    qunsetenv("http_proxy");
    EXPECT_EQ(platform::httpGet(url("/missing").toUtf8()).status, 404);
}
