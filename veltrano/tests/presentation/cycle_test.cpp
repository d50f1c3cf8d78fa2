#include "presentation/modsubliminal.h"

#include "../support/programfixture.h"

#include <QListWidget>

using veltrano::Form2;
using veltrano::Presentation;

namespace {

// Runs the cycle on a clock that jumps, recording every entry that was put on show, and
// stops the presentation after `count` entries.
class CycleTest : public ProgramTest {
protected:
    QStringList present(int count) {
        SteppingClock clock(12 * 3600.0, 0.5);
        platform::Clock::Override useClock(clock);
        QStringList shown;
        const auto recording =
            QObject::connect(Form2::instance().List1, &QListWidget::currentRowChanged,
                             Form2::instance().List1, [&, count](int row) {
                                 if (row < 0)
                                     return;
                                 shown << Form2::instance().List1->item(row)->text();
                                 if (shown.size() >= count)
                                     Presentation::running = false;
                             });
        Presentation::running = true;
        veltrano::module();
        QObject::disconnect(recording);
        return shown;
    }
};

} // namespace

TEST_F(CycleTest, EntriesComeInFileOrderFromTheSecondAndWrapAround) {
    writeModule(7, "W1\r\nW2\r\nW3\r\n");
    Presentation::SelectedModule = 7;
    EXPECT_EQ(present(4), QStringList({"W2", "W3", "W1", "W2"}));
    EXPECT_EQ(Presentation::WordIndex, 1);
    EXPECT_FALSE(Form2::instance().isVisible());
    // One Pop for every Push, however deep the cycle went.
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
    EXPECT_EQ(traceLines().mid(0, 5),
              QStringList({"modSubliminal.module", "Form2.time2", "OnTopBas.FormOnTop",
                           "Module2.AlwaysOnTop", "modSubliminal.Wait"}));
}

TEST_F(CycleTest, TheIndexSurvivesAModuleSwitchAndWrapsToAShorterModule) {
    writeModule(4, "a1\r\na2\r\na3\r\na4\r\na5\r\na6\r\na7\r\n");
    writeModule(5, "b1\r\nb2\r\nb3\r\n");
    Presentation::SelectedModule = 4;
    Presentation::WordIndex = 4;
    EXPECT_EQ(present(1), QStringList({"a6"}));
    Presentation::SelectedModule = 5;
    EXPECT_EQ(present(2), QStringList({"b1", "b2"}));

    writeModule(6, "only\r\n");
    Presentation::SelectedModule = 6;
    EXPECT_EQ(present(2), QStringList({"only", "only"}));
}

TEST_F(CycleTest, AMissingModuleEndsTheCycleWithError380) {
    handler().Push(QStringLiteral("Form2.Form_Load"));
    Presentation::SelectedModule = 9;
    EXPECT_TRUE(present(1).isEmpty());
    EXPECT_EQ(handler().ErrNum(), 380);
    EXPECT_EQ(handler().ErrDesc(), "Invalid property value");
    EXPECT_EQ(handler().ProcName(), "modSubliminal.module");
    EXPECT_EQ(handler().ErrLine(), "50");
    const QString report = handler().ErrorLogDisplay();
    EXPECT_TRUE(report.contains("01  Form2.Form_Load\r\n02    modSubliminal.module\r\n"));
    QFile log(temp.filePath(QStringLiteral("Error.log")));
    EXPECT_TRUE(log.exists());
    EXPECT_FALSE(Form2::instance().isVisible());
    EXPECT_EQ(handler().CallStack(), QStringList({""}));
}
