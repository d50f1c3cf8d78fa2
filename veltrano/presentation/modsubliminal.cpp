#include "presentation/modsubliminal.h"

#include "presentation/form2.h"
#include "presentation/loadlistfromfile.h"
#include "presentation/modulefiles.h"
#include "presentation/options.h"
#include "presentation/presentationstate.h"
#include "presentation/readingplace.h"
#include "presentation/wait.h"
#include "tracing/traced.h"

#include "platform/classicerrors.h"
#include "platform/fullscreen.h"

#include <QApplication>
#include <QListWidget>

#include <functional>

namespace veltrano {

namespace {
// How often a held-back entry looks again whether the full-screen window is still active.
constexpr double fullScreenRecheckSeconds = 0.5;
// And whether the popup menu that holds it back is closed.
constexpr double menuRecheckSeconds = 0.25;

QStringList entriesOf(const QListWidget& list) {
    QStringList entries;
    entries.reserve(list.count());
    for (int row = 0; row < list.count(); ++row)
        entries << list.item(row)->text();
    return entries;
}
} // namespace

namespace {
// Holds the due entry back while `holds` says so, looking again every `recheckSeconds`, as the
// traced procedure `proc`. False when the presentation was stopped meanwhile.
bool holdBackWhile(Traced& proc, const std::function<bool()>& holds, double recheckSeconds) {
    return proc.run(false, [&](Traced::Line& at) {
        for (;;) {
            at(10);
            if (!Presentation::running)
                return false;
            at(20);
            if (!holds())
                return true;
            at(30);
            Wait(recheckSeconds);
        }
    });
}
} // namespace

bool PauseWhileFullScreen() {
    Traced proc(u"modSubliminal.PauseWhileFullScreen");
    return holdBackWhile(
        proc,
        [] {
            return Options::pauseWhileFullScreen() &&
                   platform::FullScreenProbe::current().activeWindowIsFullScreen();
        },
        fullScreenRecheckSeconds);
}

bool PauseWhileMenuOpen() {
    Traced proc(u"modSubliminal.PauseWhileMenuOpen");
    return holdBackWhile(
        proc, [] { return QApplication::activePopupWidget() != nullptr; }, menuRecheckSeconds);
}

void module() {
    Traced proc(u"modSubliminal.module");
    proc.run([&](Traced::Line& at) {
        // Anything read here may change inside the waits: nothing is copied.
        do {
            Form2& strip = Form2::instance();
            at(10);
            strip.hide();
            if (!PauseWhileFullScreen() || !PauseWhileMenuOpen())
                return;
            at(20);
            const QString set = Options::meaningsIn();
            LoadListFromFile(ModuleFiles::path(Presentation::SelectedModule, set), strip.List1);
            at(30);
            ReadingPlace place =
                ReadingPlace::of(Presentation::SelectedModule, set, entriesOf(*strip.List1));
            at(40);
            const int row = place.next(Options::order());
            at(50);
            if (row >= strip.List1->count())
                platform::raiseError(platform::err::invalidPropertyValue);
            // Kept before the entry shows: the program may end in any wait from here on.
            place.keep();
            Presentation::WordIndex = std::int16_t(row);
            strip.List1->setCurrentRow(row);
            strip.List1->scrollToItem(strip.List1->currentItem(), QAbstractItemView::PositionAtTop);
            at(60);
            strip.time2();
            at(70);
            Wait(Options::entrySeconds());
            at(80);
            strip.hide();
            at(90);
            Wait(Presentation::WordInterval);
            at(100);
        } while (Presentation::running);
    });
}

} // namespace veltrano
