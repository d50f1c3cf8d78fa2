#include "presentation/modsubliminal.h"

#include "presentation/form2.h"
#include "presentation/loadlistfromfile.h"
#include "presentation/presentationstate.h"
#include "presentation/wait.h"
#include "tracing/programfolder.h"
#include "tracing/traced.h"

#include "platform/classicconvert.h"
#include "platform/classicerrors.h"

#include <QListWidget>

namespace veltrano {

namespace {
QString modulePath(std::int16_t number) {
    return ProgramFolder::path() + QStringLiteral("/data/") + QString::number(number) +
           QStringLiteral(".txt");
}
} // namespace

void module() {
    Traced proc("modSubliminal.module");
    proc.run([&](Traced::Line& at) {
        // Anything read here may change inside the waits: nothing is copied.
        do {
            Form2& strip = Form2::instance();
            at(10);
            strip.hide();
            at(20);
            LoadListFromFile(modulePath(Presentation::SelectedModule), strip.List1);
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
            Wait(0.3);
            at(80);
            strip.hide();
            at(90);
            Wait(Presentation::WordInterval);
            at(100);
        } while (Presentation::running);
    });
}

} // namespace veltrano
