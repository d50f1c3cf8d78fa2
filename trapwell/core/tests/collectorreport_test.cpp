// What the handler hands to the deliveries for the report address, where the end-to-end test
// (delivery/tests/collector) does not look: the fields a plain collector event leaves out, the
// bounds of the trail, the masking of private reports (and the mask itself) and when nothing is
// sent.

#include "handlerfixture.h"

#include "core/privacymask.h"

#include <pwd.h>
#include <unistd.h>

using trapwell::core::PrivacyMask;

class CollectorReportTest : public HandledErrorTest {
protected:
    void SetUp() override {
        HandledErrorTest::SetUp();
        handler.setReportUrl("https://public@collector.example.org/42");
    }
    const trapwell::core::CollectorReport& only() const {
        EXPECT_EQ(ports->reports.size(), 1u);
        return ports->reports.back();
    }
    platform::SettableClock clock{QDateTime(QDate(2026, 3, 4), QTime(10, 2, 0))};
};

TEST_F(CollectorReportTest, CarriesTheTopParametersMessageAndReleaseOrNothing) {
    AppInfo app;
    handler.setAppObject(&app);
    handler.Push("Main");
    handler.AddParam("outer", "Long", 1);
    handler.Push("Form1.Load");
    handler.AddParam("Cancel", "Integer", 0);
    handler.AddParam("Words", "Variant", QVariant(QStringList{"a"}));
    handler.HandleError("Invalid procedure call", 5, 30, "Could not load");

    // The message, the release, the innermost procedure's parameters (an array shown as the
    // listing shows it) and the application's fields.
    const auto& r = only();
    QStringList sent{r.customMessage, r.release};
    for (const auto& parameter : r.parameters)
        sent << parameter.name + u' ' + parameter.type + u' ' + parameter.value;
    for (const auto& [label, value] : r.app)
        sent << label + u' ' + value;
    EXPECT_GOLDEN(sent.join(u'\n').toUtf8(), "report-fields.txt");

    // Nothing is sent without an address, for number 0, or when the host vetoes the report in
    // BeforeHandlerCalled.
    handler.setReportUrl(QString());
    handler.HandleError("x", 5, 0);
    handler.setReportUrl("http://127.0.0.1:9/reports");
    handler.HandleError("x", 0, 0);
    listen(true);
    handler.HandleError("x", 5, 0);
    EXPECT_EQ(ports->reports.size(), 1u);
}

TEST_F(CollectorReportTest, TrailKeepsTheLatestHundredEntriesWithRepeatsCollapsed) {
    for (int i = 1; i <= 150; ++i) {
        handler.Push(QStringLiteral("P%1").arg(i));
        handler.Pop();
    }
    for (int i = 0; i < 500; ++i) { // one name, whether its text is shared or built anew
        handler.Push(i % 2 ? "Timer1_Timer" : QString::fromLatin1("Timer1_Timer"));
        handler.Pop();
    }
    handler.Push("Save");
    handler.HandleError("Disk full", 61, 0);

    const auto& crumbs = only().breadcrumbs;
    QByteArray trail; // P53 to P150, Timer1_Timer 500 times, Save
    for (const auto& crumb : crumbs)
        trail += crumb.procedure.toUtf8() + " x" + QByteArray::number(crumb.repeats) + '\n';
    EXPECT_GOLDEN(trail, "trail.txt");
    for (std::size_t i = 1; i < crumbs.size(); ++i)
        EXPECT_LE(crumbs[i - 1].msSinceEpoch, crumbs[i].msSinceEpoch);
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - crumbs.back().msSinceEpoch;
    EXPECT_GE(age, -1000); // a wall-clock time stamp, not a counter
    EXPECT_LT(age, 3600 * 1000);
}

TEST_F(CollectorReportTest, PrivateReportsMaskWhatLeavesTheMachine) {
    handler.setPrivateReports(true);
    const QString home = QDir::homePath();
    handler.Push(home + "/words.txt");
    handler.AddParam("sPassword", "String", "hunter2");
    handler.AddParam("sFile", "String", home + "/a.txt");
    handler.HandleError("File not found: " + home + "/a.txt", 53, 0, "write to ann@example.org");

    // The description, message, stack, trail and parameter values, then the report section.
    const auto& r = only();
    QStringList sent{r.errDesc, r.customMessage, r.stack.join(u'|'),
                     r.breadcrumbs.back().procedure};
    for (const auto& parameter : r.parameters)
        sent << parameter.value;
    EXPECT_GOLDEN((sent.join(u'\n') + u'\n' + r.errorSection).toUtf8(), "private-report.txt");
    // What the user sees stays whole.
    EXPECT_TRUE(handler.ErrorLogDisplay().contains("hunter2"));

    // The mask itself, on a report with a home, a user, a host, an address and parameters.
    const QString report = QString::fromUtf8(golden::expected("privacy-report.txt"));
    const QString masked =
        PrivacyMask("/home/alice", "alice", "lab7", PrivacyMask::defaultParameterNames())
            .apply(report);
    EXPECT_GOLDEN(masked.toUtf8(), "privacy-masked.txt");

    // The list decides which values go.
    const QString onlyCount = PrivacyMask("/home/alice", "alice", "lab7", {"COUNT"}).apply(report);
    EXPECT_TRUE(onlyCount.contains("Value: \thunter2\r\n"));
    EXPECT_TRUE(onlyCount.contains("Name: \tcount\r\nType : \tInteger\r\nValue: \t<masked>"));

    // By default, the name of the user running it (home and addresses: above).
    const QString user = QString::fromLocal8Bit(::getpwuid(::getuid())->pw_name);
    ASSERT_GE(user.size(), 2);
    EXPECT_EQ(PrivacyMask().apply("by " + user + "."), "by <user>.");
}
