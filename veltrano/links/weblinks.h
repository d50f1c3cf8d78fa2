#pragma once

#include <QObject>

namespace veltrano {

// The main window's ways to the maker: the update download (Image1), the web site (mVisit)
// and a new mail to the development team (Image4, mContact). The main window connects its
// buttons and menu items to them.
class WebLinks : public QObject {
    Q_OBJECT

public:
    void Image1_Click();
    void mVisit_Click();
    void Image4_Click();
    void mContact_Click();

private:
    // The mail link fails silently: its result is not looked at.
    static void openMailLink();
};

} // namespace veltrano
