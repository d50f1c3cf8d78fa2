#include "links/addresses.h"
#include "links/website.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"

#include "../support/programfixture.h"

#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/tests/support/fakes.h"

#include <QAction>

namespace {
class WebLinksTest : public ProgramTest {};
} // namespace

TEST_F(WebLinksTest, OpenWebsiteTellsWhatWentWrong) {
    const QString address = QStringLiteral("http://example.org/setup.exe");
    const struct {
        int result;
        int buttons;
        QString prompt;
    } cases[] = {
        {31, platform::mb::Exclamation,
         "No Association Found for HTTP Addresses. A Web Browser Should be Installed or "
         "Reinstalled."},
        {2, platform::mb::Exclamation, "The '" + address + "' File or Path was Not Found."},
        {3, platform::mb::Exclamation, "The '" + address + "' File or Path was Not Found."},
        {5, platform::mb::Critical,
         "An error occurred attempting to open '" + address + "' (ShellExecute code 5)."},
    };
    for (const auto& c : cases) {
        platform::ShellRecorder shell([&](const QUrl&) { return c.result; });
        platform::MsgBoxRecorder boxes;
        veltrano::OpenWebsite(address);
        ASSERT_EQ(boxes.calls().size(), 1) << c.result;
        EXPECT_EQ(boxes.calls()[0].prompt, c.prompt);
        EXPECT_EQ(boxes.calls()[0].buttons, c.buttons);
        EXPECT_EQ(boxes.calls()[0].title, "Veltrano Rudoz Arirera");
    }
    for (int silent : {0, 42}) {
        platform::ShellRecorder shell([&](const QUrl&) { return silent; });
        platform::MsgBoxRecorder boxes;
        veltrano::OpenWebsite(address);
        EXPECT_TRUE(boxes.calls().isEmpty()) << silent;
    }
}

TEST_F(WebLinksTest, TheFourEntryPointsOpenTheirAddresses) {
    veltrano::Form1 form;
    platform::ShellRecorder shell([](const QUrl&) { return platform::shell::noAssociation; });
    platform::MsgBoxRecorder boxes;
    form.Image1->Click();
    form.mVisit->trigger();
    form.Image4->Click();
    form.mContact->trigger();
    const QUrl mail(QStringLiteral("mailto:") + QLatin1String(veltrano::addresses::supportMail));
    EXPECT_EQ(shell.opened(), QList<QUrl>({QUrl(veltrano::addresses::updateDownload),
                                           QUrl(veltrano::addresses::website), mail, mail}));
    // The mail link fails silently; the two web addresses each told the user.
    EXPECT_EQ(boxes.calls().size(), 2);
    EXPECT_EQ(traceLines().filter("Form1.").size(), 4);
}
