#pragma once

#include <QObject>

namespace veltrano {

class Form1;

// The module choice: the 22 module boxes that act as one choice, the module panel opened and
// closed by Image6, and the start-up panel opened by Image5 and closed by Image12. The
// choice is saved when a panel is closed and taken over into SelectedModule only at load
// and at Image6.
class ModuleSelection : public QObject {
    Q_OBJECT

public:
    explicit ModuleSelection(Form1& form);

    // Click of module box N (4 .. 25): a ticked box unticks every other module box, in
    // ascending order, so exactly one stays ticked; an unticked one leaves none.
    void CheckN_Click(int number);
    void Image6_Click();
    void Image5_Click();
    void Image12_Click();

    // SelectedModule becomes the highest ticked module box; with none it stays.
    void recomputeSelectedModule();

private:
    Form1& form_;
};

} // namespace veltrano
