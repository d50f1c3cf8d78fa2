#include "platform/classiccheckbox.h"

#include "platform/classicerrors.h"

namespace platform {

ClassicCheckBox::ClassicCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {
}

// Qt numbers the greyed state 1; the classic values are converted here and nowhere else.
std::int16_t ClassicCheckBox::Value() const {
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void ClassicCheckBox::setValue(int value) {
    if (value < 0 || value > 2)
        raiseError(err::invalidPropertyValue);
    if (value == Value())
        return;
    if (value == 2)
        setTristate(true);
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    emit Click();
}

void ClassicCheckBox::nextCheckState() {
    setValue(Value() == 1 ? 0 : 1);
}

} // namespace platform
