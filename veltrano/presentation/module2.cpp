#include "presentation/module2.h"

#include "effects/ontopbas.h"
#include "platform/twips.h"
#include "presentation/form2.h"
#include "tracing/traced.h"

namespace veltrano {

void AlwaysOnTop() {
    Traced proc(u"Module2.AlwaysOnTop");
    proc.run([&](Traced::Line& at) {
        at(10);
        Form2& form = Form2::instance();
        at(20);
        const double perPixelX = platform::twipsPerPixelX();
        const double perPixelY = platform::twipsPerPixelY();
        at(30);
        const QRect place(platform::pixelsFromTwips(form.Left(), perPixelX),
                          platform::pixelsFromTwips(form.Top(), perPixelY),
                          platform::pixelsFromTwips(form.Width(), perPixelX),
                          platform::pixelsFromTwips(form.Height(), perPixelY));
        at(40);
        showTopmost(&form, place);
    });
}

} // namespace veltrano
