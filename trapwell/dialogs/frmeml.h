#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class ClassicCheckBox;
}

namespace trapwell::dialogs {

// The e-mail settings dialog: how error reports are mailed (Outlook, default client, SMTP),
// the SMTP server and sender, and whether to offer this dialog before each delivery.
// Each instance loads afresh from the "ErrHandler" settings and the thread's MailValues;
// "Ok" writes "EmailType", "ShowEmlScre" and, for SMTP, the MailValues; every way of
// closing it (Ok, Cancel, close box, Escape) stores "EmailFlag".
class frmEml : public QDialog {
    Q_OBJECT

public:
    // Builds the controls and runs the load. A stored "EmailType" or "ShowEmlScre" that is
    // not a number raises error 13 (6 when out of range, 380 for a box value other than
    // 0..2) before anything is shown or stored.
    explicit frmEml(QWidget* parent = nullptr);
    ~frmEml() override;

    // Loads a fresh dialog, shows it modally and returns once it has closed: true when it
    // stored "EmailFlag" = "True" (the user pressed Ok, even if a validation message then
    // kept it open and it was closed otherwise), false when it stored "False". Load errors
    // propagate as RuntimeError; error 445 where no window can be shown (no widget
    // application, or not its thread).
    static bool showModalFor(QWidget* parent);

    // Before each mailing: shows the dialog unless the user asked not to see it
    // ("ShowEmlScre"), in which case delivery is simply agreed to ("EmailFlag" = "True").
    static void offerBeforeMailing(QWidget* parent);

    // The confirmation flag, as "EmailFlag" will be stored on unload.
    bool confirmed() const { return confirmed_; }
    // The index of the option button last clicked (or the stored kind it was loaded with).
    std::int16_t selectedKind() const { return selectedKind_; }

    // Controls, under the names the dialog has always had.
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;
    QGroupBox* framEmailOptions = nullptr;
    std::array<QRadioButton*, 3> optEmailType{}; // indexed by Email_Type
    platform::ClassicCheckBox* chkShowScreen = nullptr;
    QLabel* lblMailServer = nullptr;
    QLineEdit* txtMailserver = nullptr;
    QLabel* lblFrom = nullptr;
    QLineEdit* txtFrom = nullptr;
    QLabel* lblEmailAddress = nullptr;
    QLineEdit* txtEmailAddress = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

public slots:
    // Every close of the dialog ends here; it is the unload.
    void done(int result) override;

private:
    void createControls();
    void Form_Load();
    void optEmailType_Click(int index);
    void cmdSend_Click();
    void cmdCancel_Click();
    void Form_Unload();

    std::int16_t selectedKind_ = 0;
    bool confirmed_ = false;
    bool unloaded_ = false;
};

} // namespace trapwell::dialogs
