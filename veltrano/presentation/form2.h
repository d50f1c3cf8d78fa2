#pragma once

#include <QWidget>

#include <cstdint>

class QListWidget;

namespace veltrano {

// The display window: a thin borderless strip, one list line high, that shows the entry on
// show above all other windows without ever taking the keyboard focus, and with no entry in
// the task bar. Created once per run and kept, hidden or shown, until the program ends.
class Form2 : public QWidget {
    Q_OBJECT
    // The window's handle, read by name as the drag routine expects.
    Q_PROPERTY(qint32 hwnd READ hwnd)

public:
    // The program's display window, created (not loaded) on first use.
    static Form2& instance();
    // Whether the window exists yet.
    static bool exists();
    // Creates the window if needed and, the first time, runs its load handler, which runs
    // the presentation cycle and returns when the cycle ends.
    static void load();

    QListWidget* List1 = nullptr;

    // The window's place and size, in twips, as the program holds them.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    qint32 hwnd() const;

    // Puts the window on top of all windows and shows it without activating it.
    void time2();

    // Event handlers, called by Qt's events below.
    void Form_Load();
    void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float Y);
    void Form_Unload(std::int16_t& Cancel);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class ProgramTestAccess; // tests start over with no window

    Form2();
    void passWindowManagerWhileFullScreen();
    static Form2* theWindow_;
    bool loaded_ = false;
};

} // namespace veltrano
