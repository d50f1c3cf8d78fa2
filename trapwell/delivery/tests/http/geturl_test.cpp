#include "delivery/geturl.h"

#include "platform/httpget.h"
#include "platform/messagebox.h"
#include "platform/tests/support/fakes.h"

#include <trapwell/runtimeerror.h>

#include "../testpeer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

using namespace trapwell::delivery;

namespace {

const QString noConnection = QStringLiteral("Failed sending: Coludn't Connect to Server");

class Http : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = std::make_unique<QTemporaryDir>();
        refusing = std::make_unique<RefusedPort>();
        server = std::make_unique<TestPeer>(QStringLiteral("/usr/bin/python3"),
                                            QStringList{QStringLiteral(HTTP_TEST_SERVER), log()});
        port = server->port();
        deadPort = refusing->port();
    }
    static void TearDownTestSuite() {
        server.reset();
        refusing.reset();
        dir.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(server->running() && port != 0) << server->errors().data();
        QFile(log()).resize(0);
    }

    static QString log() { return dir->filePath(QStringLiteral("requests.log")); }
    static QString url(const QString& path, quint16 at = port) {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(at).arg(path);
    }
    static QString get(const QString& path) {
        QString u = url(path);
        return OpenUrl(u);
    }
    // "path?query<TAB>user agent" of each request the server saw.
    static QStringList requests() {
        QFile file(log());
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // A stalled answer ends after a second.
    struct ShortLimits final : platform::HttpLimits {
        std::chrono::milliseconds connect() const override { return std::chrono::seconds(1); }
        std::chrono::milliseconds total() const override { return std::chrono::seconds(1); }
        Override use{*this};
    } limits;
    static inline std::unique_ptr<QTemporaryDir> dir;
    static inline std::unique_ptr<TestPeer> server;
    static inline std::unique_ptr<RefusedPort> refusing;
    static inline quint16 port = 0;
    static inline quint16 deadPort = 0;
};

} // namespace

// Letters and digits stay; whatever the text, the result may stand in a request line:
// printable ASCII only, and letters whose upper case is ASCII go as UTF-8.
TEST(UrlEncode, KeepsLettersAndDigitsAndEncodesTheRestAsPrintableAscii) {
    EXPECT_EQ(UrlEncode(QStringLiteral("a b&c=d")), QStringLiteral("a+b%26c%3Dd"));
    EXPECT_EQ(UrlEncode(QStringLiteral("azAZ09-_.~")), QStringLiteral("azAZ09%2D%5F%2E%7E"));
    EXPECT_EQ(UrlEncode(QStringLiteral("\r\n\x01")), QStringLiteral("%0D%0A%01"));
    EXPECT_EQ(UrlEncode(QString(QChar(0xE9)) + QChar(0x100) + QChar(0x20AC)),
              QStringLiteral("%E9%100%20AC"));
    EXPECT_EQ(UrlEncode(QStringLiteral("\u0131s\u017F")), QStringLiteral("%C4%B1s%C5%BF"));
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

TEST_F(Http, PostToUrlSendsEncodedPairsWithTheFinalAmpersand) {
    QString address = url(QStringLiteral("/post?k=1"));
    QStringList pairs{
        QStringLiteral("n a"), QStringLiteral("a b&c=d\u0131"), QStringLiteral("e"), {}};
    EXPECT_EQ(PostToUrl(address, pairs), QStringLiteral("thanks"));
    QStringList none;
    PostToUrl(address, none);
    QStringList most(254, QStringLiteral("z"));
    PostToUrl(address, most);
    const QStringList seen = requests();
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0], QStringLiteral("/post?k=1?n+a=a+b%26c%3Dd%C4%B1&e=&\tvb wininet"));
    EXPECT_EQ(seen[1], QStringLiteral("/post?k=1?\tvb wininet"));
    EXPECT_EQ(seen[2].count(QStringLiteral("z=z&")), 127);
}

TEST_F(Http, PostToUrlTurnsFailuresIntoTextsAndShowsNoBoxItself) {
    // The dialog shows the result; a box from here would show it twice.
    platform::MsgBoxRecorder boxes;
    QString empty, refused = url({}, deadPort), address = url(QStringLiteral("/post"));
    QStringList report{
        QStringLiteral("ErrDetail"), QStringLiteral("E 5"), QStringLiteral("DBInfo"), {}};
    QStringList odd{QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("b")};
    QStringList tooMany(256, QStringLiteral("x"));
    EXPECT_EQ(PostToUrl(empty, report), QStringLiteral("Failed sending: URL property is empty"));
    EXPECT_EQ(PostToUrl(address, odd),
              QStringLiteral("Failed sending: Quantity of parameter names and quantity of "
                             "corresponding values must be equal"));
    EXPECT_EQ(PostToUrl(refused, report), noConnection);
    EXPECT_THROW(PostToUrl(address, tooMany), trapwell::RuntimeError);
    EXPECT_TRUE(requests().isEmpty());
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(Http, OpenUrlReturnsTheWholeAnswerWhateverItsStatus) {
    EXPECT_EQ(get(QStringLiteral("/three")), QStringLiteral("ok!"));
    EXPECT_EQ(get(QStringLiteral("/long")), QString(255, u'x') + QChar(0xE9) + QString(100, u'y'));
    EXPECT_EQ(get(QStringLiteral("/missing")), QStringLiteral("<html>No such page</html>"));
    EXPECT_EQ(get(QStringLiteral("/redirect")), QStringLiteral("ok!"));
    EXPECT_EQ(platform::httpGet(url(QStringLiteral("/missing")).toUtf8()).status, 404);
    // Direct connection: a proxy in the environment is not used.
    qputenv("http_proxy", url({}, deadPort).toUtf8());
    EXPECT_EQ(get(QStringLiteral("/three")), QStringLiteral("ok!"));
    qunsetenv("http_proxy");
}

TEST_F(Http, OpenUrlFailsWithoutConnectionAndKeepsWhatArrivedBeforeAStall) {
    for (QString bad : {url({}, deadPort), url(QStringLiteral("/three")).mid(7),
                        QStringLiteral("http://[127.0.0.1/")})
        EXPECT_EQ(OpenUrl(bad), noConnection) << bad.toStdString();
    // The server never ends these answers: only the request's own time limits end them.
    EXPECT_EQ(get(QStringLiteral("/silent")), noConnection);
    EXPECT_EQ(get(QStringLiteral("/stall")), QStringLiteral("part"));
}

TEST_F(Http, OnlyTheFirstMegabyteIsKeptAndAnAnswerWithoutEndFails) {
    const QString huge = get(QStringLiteral("/huge"));
    EXPECT_EQ(huge.size(), 1024 * 1024);
    EXPECT_EQ(huge.count(u'h'), huge.size());
    // Read and dropped until the time bound ends it: the host goes on with the failure text.
    // Long enough for more than a megabyte to arrive on a loaded machine.
    struct Longer final : platform::HttpLimits {
        std::chrono::milliseconds total() const override { return std::chrono::seconds(3); }
        Override use{*this};
    } longer;
    EXPECT_EQ(get(QStringLiteral("/endless")), noConnection);
    EXPECT_EQ(get(QStringLiteral("/three")), QStringLiteral("ok!"));
}
