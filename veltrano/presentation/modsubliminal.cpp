#include "presentation/modsubliminal.h"

#include "presentation/form2.h"
#include "presentation/loadlistfromfile.h"
#include "presentation/modulefiles.h"
#include "presentation/options.h"
#include "presentation/presentationstate.h"
#include "presentation/wait.h"
#include "tracing/traced.h"

#include "platform/classicconvert.h"
#include "platform/classicerrors.h"
#include "platform/fullscreen.h"

#include <QListWidget>

namespace veltrano {

namespace {
// How often a held-back entry looks again whether the full-screen window is still active.
constexpr double fullScreenRecheckSeconds = 0.5;
} // namespace

bool PauseWhileFullScreen() {
    Traced proc(u"modSubliminal.PauseWhileFullScreen");
    return proc.run(false, [&](Traced::Line& at) {
        for (;;) {
            at(10);
            if (!Presentation::running)
                return false;
            at(20);
            if (!Options::pauseWhileFullScreen() ||
                !platform::FullScreenProbe::current().activeWindowIsFullScreen())
                return true;
            at(30);
            Wait(fullScreenRecheckSeconds);
        }
    });
}

void module() {
    Traced proc(u"modSubliminal.module");
    proc.run([&](Traced::Line& at) {
        // Anything read here may change inside the waits: nothing is copied.
        do {
            Form2& strip = Form2::instance();
            at(10);
            strip.hide();
            if (!PauseWhileFullScreen())
                return;
            at(20);
            LoadListFromFile(ModuleFiles::path(Presentation::SelectedModule, Options::meaningsIn()),
                             strip.List1);
            at(30);
            Presentation::WordIndex = platform::CInt(double(Presentation::WordIndex) + 1);
            at(40);
            if (Presentation::WordIndex >= strip.List1->count())
                Presentation::WordIndex = 0;
            at(50);
            if (Presentation::WordIndex >= strip.List1->count())
                platform::raiseError(platform::err::invalidPropertyValue);
            strip.List1->setCurrentRow(Presentation::WordIndex);
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
