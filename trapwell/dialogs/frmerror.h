#pragma once

#include "core/errordialogport.h"
#include "core/handlerports.h"

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace platform {
class TcpConnection;
}

namespace trapwell::delivery {
class OutboxWorker;
class SmtpMailer;
} // namespace trapwell::delivery

namespace trapwell::dialogs {

// "Application Error": the modal dialog that shows a handled error with its report sections
// and offers the logs, mail, posting and the e-mail settings. One instance per thread,
// created on first use; its window is loaded when it is about to be shown, or when the
// component's mailer borrows its connection, and unloaded when it is closed.
class frmError : public QDialog, public core::ErrorDialogPort {
    Q_OBJECT

public:
    // The thread's instance, created (not loaded) when there is none.
    static frmError& instance();
    static bool exists();
    // Unloads the thread's window; the instance and its fields stay.
    static void unloadInstance();

    // Fields set by HandleError, in this order, before it shows the dialog.
    double m_dblErrNum = 0;
    QString m_strDestination;
    QString m_strErrDetail;
    bool m_bolTraceExecution = false;
    bool ShowAppInfo = false;
    bool ShowDBInfo = false;
    bool ShowSysInfo = false;
    bool ShowPostButton = false;
    QString AppLog;
    QString SysLog;
    QString DbLog;
    QString m_strEmailAddress;
    QString m_strSubject;
    QString m_strEmailDetailAPI;
    QString m_strEmailDetailAPI2;
    QString m_strToName;
    // The posting address, read and written through the component's URL property.
    QString fUrl;

    // The window's controls, made when the window is first loaded.
    QPushButton* cmdPost = nullptr;
    QPushButton* cmdEmlSet = nullptr;
    QPushButton* cmdEmail = nullptr;
    QPushButton* cmdTraceLog = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdErrorLog = nullptr;
    QWidget* PictHeading = nullptr;
    QLabel* lblTabHeading = nullptr;
    QPlainTextEdit* txtOutput = nullptr;
    QWidget* PictList = nullptr;
    QPushButton* cmdAppInfo = nullptr;
    QPushButton* cmdSystemInfo = nullptr;
    QPushButton* cmdDatabaseInfo = nullptr;
    QPushButton* cmdErrorInfo = nullptr;
    QLabel* lblErrNum = nullptr;
    // Beside the specified controls: how often the error repeated unseen; empty and hidden
    // unless the host counts repeats.
    QLabel* lblRepeats = nullptr;
    // Beside the e-mail and post buttons when reports are masked: shows what will be sent.
    QPushButton* cmdSent = nullptr;

    // The SMTP connection; it exists while the window is loaded.
    platform::TcpConnection* Winsock1() const { return winsock_.get(); }
    bool isLoaded() const { return loaded_; }
    // Loads the window (runs the load steps) if it is not loaded.
    void load();
    // The e-mail body composed at the last activation.
    const QString& emailBody() const { return body_; }

    // ErrorDialogPort, as HandleError drives it.
    void setContent(const core::ErrorDialogContent& content) override;
    void refresh() override;
    void setNotes(const core::DialogNotes& notes) override;
    // Where mail and postings that fail are kept for later; none keeps nothing.
    void setOutbox(std::shared_ptr<delivery::OutboxWorker> outbox) { outbox_ = std::move(outbox); }
    // How copies that leave the machine are made (privacy); shown by cmdSent when masked.
    void setDeliveryOptions(const core::DeliveryOptions& options);
    // The e-mail body as it leaves the machine.
    QString outgoingBody() const { return options_.outgoing(body_); }
    void showModal() override;
    QString postingAddress() const override { return fUrl; }
    void setPostingAddress(const QString& address) override { fUrl = address; }

    ~frmError() override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc is the Close button's, as Enter is.
    void reject() override { cmdClose_Click(); }

private:
    frmError();
    void createControls();
    void showNotes();
    void Form_Load();
    void Form_Activate();
    void unload();
    void showSection(const QString& heading, const QString& text);
    void openLog(const QString& name);
    void cmdEmail_Click();
    void cmdPost_Click();
    void cmdClose_Click();
    void Winsock1_DataArrival();

    bool loaded_ = false;
    QString body_;
    std::unique_ptr<platform::TcpConnection> winsock_;
    std::unique_ptr<delivery::SmtpMailer> mailer_;
    std::shared_ptr<delivery::OutboxWorker> outbox_;
    core::DeliveryOptions options_;
    core::DialogNotes notes_;
};

} // namespace trapwell::dialogs
