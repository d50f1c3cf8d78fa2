// What the handler hands to the deliveries for the report address: the stack, the top
// procedure's parameters, the sections, the release and the trail of procedures entered.

#include "handlerfixture.h"

#include "platform/tests/support/fakes.h"

#include <QDir>

namespace {

class CollectorReportTest : public HandlerTest {
protected:
    void SetUp() override {
        handler.setDestination(temp.path());
        handler.setReportUrl(QStringLiteral("https://public@collector.example.org/42"));
    }
    const trapwell::core::CollectorReport& only() const {
        EXPECT_EQ(ports->reports.size(), 1u);
        return ports->reports.back();
    }
    platform::SettableClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 2, 0))};
};

} // namespace

TEST_F(CollectorReportTest, CarriesTheStackTopParametersSectionsAndRelease) {
    AppInfo app;
    app.Path = temp.path();
    handler.setAppObject(&app);
    handler.Push(QStringLiteral("Main"));
    handler.AddParam(QStringLiteral("outer"), QStringLiteral("Long"), 1);
    handler.Push(QStringLiteral("Form1.Load"));
    handler.AddParam(QStringLiteral("Cancel"), QStringLiteral("Integer"), 0);
    handler.AddParam(QStringLiteral("Words"), QStringLiteral("Variant"),
                     QVariant(QStringList{QStringLiteral("a")}));
    handler.HandleError(QStringLiteral("Invalid procedure call"), 5, 30,
                        QStringLiteral("Could not load"));

    const auto& r = only();
    EXPECT_EQ(r.address, "https://public@collector.example.org/42");
    EXPECT_EQ(r.errNum, 5);
    EXPECT_EQ(r.errDesc, "Invalid procedure call");
    EXPECT_EQ(r.errLine, 30);
    EXPECT_EQ(r.customMessage, "Could not load");
    EXPECT_EQ(r.stack, (QStringList{QStringLiteral("Main"), QStringLiteral("Form1.Load")}));
    ASSERT_EQ(r.parameters.size(), 2u);
    EXPECT_EQ(r.parameters[0].name, "Cancel");
    EXPECT_EQ(r.parameters[0].type, "Integer");
    EXPECT_EQ(r.parameters[0].value, "0");
    EXPECT_EQ(r.parameters[1].value, "-----"); // as the listing shows an array
    EXPECT_EQ(r.release, "Trainer@2.1.7");
    EXPECT_TRUE(r.app.contains({QStringLiteral("Title"), QStringLiteral("Trainer Title")}));
    EXPECT_TRUE(r.app.contains({QStringLiteral("Revision"), QStringLiteral("7")}));
    const auto platform = std::find_if(r.system.begin(), r.system.end(),
                                       [](const auto& f) { return f.first == "PLatform"; });
    ASSERT_NE(platform, r.system.end());
    EXPECT_EQ(platform->second, "Linux");
    // The sections as the report shows them, for receivers of plain documents.
    EXPECT_EQ(r.errorSection, handler.ErrorLogDisplay());
    EXPECT_EQ(r.sysSection, handler.SysLogDisplay());
}

TEST_F(CollectorReportTest, TrailKeepsTheLatestHundredEntriesWithRepeatsCollapsed) {
    for (int i = 1; i <= 150; ++i) {
        handler.Push(QStringLiteral("P%1").arg(i));
        handler.Pop();
    }
    for (int i = 0; i < 500; ++i) { // one name, whether its text is shared or built anew
        handler.Push(i % 2 ? QStringLiteral("Timer1_Timer") : QString::fromLatin1("Timer1_Timer"));
        handler.Pop();
    }
    handler.Push(QStringLiteral("Save"));
    handler.HandleError(QStringLiteral("Disk full"), 61, 0);

    const auto& crumbs = only().breadcrumbs;
    ASSERT_EQ(crumbs.size(), 100u);
    EXPECT_EQ(crumbs.front().procedure, "P53");
    EXPECT_EQ(crumbs[97].procedure, "P150");
    EXPECT_EQ(crumbs[98].procedure, "Timer1_Timer");
    EXPECT_EQ(crumbs[98].repeats, 500u);
    EXPECT_EQ(crumbs.back().procedure, "Save");
    EXPECT_EQ(crumbs.back().repeats, 1u);
    for (std::size_t i = 1; i < crumbs.size(); ++i)
        EXPECT_LE(crumbs[i - 1].msSinceEpoch, crumbs[i].msSinceEpoch);
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - crumbs.back().msSinceEpoch;
    EXPECT_GE(age, -1000); // a wall-clock time stamp, not a counter
    EXPECT_LT(age, 3600 * 1000);
}

TEST_F(CollectorReportTest, PrivateReportsMaskWhatLeavesTheMachine) {
    handler.setPrivateReports(true);
    const QString home = QDir::homePath();
    handler.Push(home + QStringLiteral("/words.txt"));
    handler.AddParam(QStringLiteral("sPassword"), QStringLiteral("String"),
                     QStringLiteral("hunter2"));
    handler.AddParam(QStringLiteral("sFile"), QStringLiteral("String"),
                     home + QStringLiteral("/a.txt"));
    handler.HandleError(QStringLiteral("File not found: ") + home + QStringLiteral("/a.txt"), 53, 0,
                        QStringLiteral("write to ann@example.org"));

    const auto& r = only();
    EXPECT_EQ(r.errDesc, "File not found: ~/a.txt");
    EXPECT_EQ(r.customMessage, "write to <email>");
    EXPECT_EQ(r.stack.value(0), "~/words.txt");
    EXPECT_EQ(r.breadcrumbs.back().procedure, "~/words.txt");
    EXPECT_EQ(r.parameters[0].value, "<masked>");
    EXPECT_EQ(r.parameters[1].value, "~/a.txt");
    EXPECT_FALSE(r.errorSection.contains(home));
    EXPECT_FALSE(r.errorSection.contains(QStringLiteral("hunter2")));
    // What the user sees stays whole.
    EXPECT_TRUE(handler.ErrorLogDisplay().contains(QStringLiteral("hunter2")));
}

TEST_F(CollectorReportTest, NothingIsSentWithoutAnAddressOrWhenTheHostCancels) {
    handler.setReportUrl(QString());
    handler.Push(QStringLiteral("A"));
    handler.HandleError(QStringLiteral("x"), 5, 0);
    EXPECT_TRUE(ports->reports.empty());

    handler.setReportUrl(QStringLiteral("http://127.0.0.1:9/reports"));
    EXPECT_EQ(handler.ReportUrl(), "http://127.0.0.1:9/reports");
    handler.Push(QStringLiteral("A"));
    handler.HandleError(QStringLiteral("x"), 0, 0); // number 0: not an error
    EXPECT_TRUE(ports->reports.empty());

    listen(true); // the host vetoes the report in BeforeHandlerCalled
    handler.HandleError(QStringLiteral("x"), 5, 0);
    EXPECT_TRUE(ports->reports.empty());

    EXPECT_EQ(errorOf([&] { handler.setReportUrl(QStringLiteral("ftp://host/x")); }).number(), 380);
    EXPECT_EQ(handler.ReportUrl(), "http://127.0.0.1:9/reports");
}
