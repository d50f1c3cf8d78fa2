#pragma once

#include <QCheckBox>

#include <cstdint>

namespace platform {

// A check box with the classic values 0 (unticked), 1 (ticked) and 2 (greyed) and the
// classic Click event: raised by a user's click and by any change of the value from code,
// synchronously, before setValue returns. Setting the value it already has does nothing.
class ClassicCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit ClassicCheckBox(const QString& caption, QWidget* parent = nullptr);

    std::int16_t Value() const;
    // Raises error 380 for values other than 0, 1 and 2.
    void setValue(int value);

signals:
    void Click();

protected:
    void nextCheckState() override;
};

} // namespace platform
