#include "dialogs/frmerror.h"

#include "core/handlersettings.h"
#include "core/mailvalues.h"
#include "delivery/geturl.h"
#include "delivery/maildelivery.h"
#include "delivery/outboxworker.h"
#include "delivery/smtpmailer.h"
#include "dialogs/dialogstyle.h"
#include "dialogs/frmeml.h"

#include "platform/classicconvert.h"
#include "platform/classicerrors.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/tcpconnection.h"
#include "platform/twips.h"

#include <trapwell/comtypes.h>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace trapwell::dialogs {

namespace {

// Not owned: a widget must not outlive the application, and thread-local owners are only
// destroyed after it. The instance lives as long as the program does.
thread_local QPointer<frmError> threadInstance;
const QString crlf = QStringLiteral("\r\n");

void fitCaption(QPushButton* button) {
    shrinkToFit(button, button->text(), button->width() - 10);
}

// The busy pointer over one window, put back however the work ends.
class BusyPointer {
public:
    explicit BusyPointer(QWidget* window) : window_(window) { window_->setCursor(Qt::WaitCursor); }
    ~BusyPointer() { window_->unsetCursor(); }

private:
    QWidget* window_;
};

// "What Is Sent": the copy as it leaves the machine, with an OK button, as a message box
// shows it; but a report is longer than a screen is high, so the window keeps within the
// screen it opens on and the text scrolls inside it.
void showWhatIsSent(QWidget* parent, const QString& text) {
    QDialog box(parent, modalDialogFlags());
    box.setWindowTitle(QStringLiteral("What Is Sent"));
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextInteractionFlags(
        box.style()->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, &box)));
    auto* scroll = new QScrollArea;
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(scroll);
    layout->addWidget(buttons);

    // A message box's width; as high as the text needs, within the screen's free area less
    // the frame the window manager adds (as the error dialog's own).
    const QRect free = parent->screen()->availableGeometry();
    const int frame = parent->frameGeometry().height() - parent->height();
    const int textWidth = std::min(free.width() / 2, 500);
    const QMargins margins = layout->contentsMargins();
    const int scrollBar = box.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int wanted = label->heightForWidth(textWidth) + buttons->sizeHint().height() +
                       layout->spacing() + margins.top() + margins.bottom();
    box.resize(textWidth + scrollBar + margins.left() + margins.right(),
               std::min(wanted, free.height() - frame));
    box.exec();
}

} // namespace

frmError& frmError::instance() {
    // A host without a graphical user interface has no dialog to give.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        platform::raiseError(platform::err::cannotCreateObject);
    if (!threadInstance)
        threadInstance = new frmError;
    return *threadInstance;
}

bool frmError::exists() {
    return threadInstance != nullptr;
}

void frmError::unloadInstance() {
    if (threadInstance)
        threadInstance->unload();
}

frmError::frmError() : QDialog(nullptr, modalDialogFlags()) {
    setWindowTitle(QStringLiteral("Application Error"));
    setModal(true);
}

frmError::~frmError() = default;

void frmError::createControls() {
    setFixedSize(platform::twipsRect(0, 0, 9825, 6915).size());
    const QFont buttonFont = dialogs::buttonFont();

    lblErrNum = new QLabel(this);
    lblErrNum->setFont(namedFont("Verdana", 10, true));
    lblErrNum->setGeometry(platform::twipsRect(120, 60, 9585, 360));

    lblRepeats = new QLabel(this);
    lblRepeats->setFont(namedFont("Verdana", 8));
    lblRepeats->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblRepeats->setGeometry(platform::twipsRect(4800, 60, 4905, 360));
    showNotes();

    PictList = new QWidget(this);
    PictList->setGeometry(platform::twipsRect(0, 480, 9825, 420));
    const auto sectionButton = [&](const char* caption, int index) {
        auto* b = new QPushButton(QString::fromLatin1(caption), PictList);
        b->setFont(buttonFont);
        b->setGeometry(platform::twipsRect(index * 1800 + 30, 30, 1755, 360));
        fitCaption(b);
        return b;
    };
    cmdErrorInfo = sectionButton("&Error Info", 0);
    cmdAppInfo = sectionButton("&App Info", 1);
    cmdSystemInfo = sectionButton("&System Info", 2);
    cmdDatabaseInfo = sectionButton("&Database Info", 3);

    PictHeading = new QWidget(this);
    PictHeading->setGeometry(platform::twipsRect(0, 960, 9825, 420));
    PictHeading->setAutoFillBackground(true);
    QPalette heading = PictHeading->palette();
    heading.setColor(QPalette::Window, heading.color(QPalette::Highlight));
    heading.setColor(QPalette::WindowText, heading.color(QPalette::HighlightedText));
    PictHeading->setPalette(heading);
    lblTabHeading = new QLabel(PictHeading);
    lblTabHeading->setFont(namedFont("Verdana", 10, true));
    lblTabHeading->setGeometry(platform::twipsRect(120, 30, 9585, 360));

    txtOutput = new QPlainTextEdit(this);
    // The report can be read, selected and scrolled, never changed.
    txtOutput->setReadOnly(true);
    txtOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtOutput->setGeometry(platform::twipsRect(0, 1440, 9825, 5040));

    const auto actionButton = [&](const char* caption, int left) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setFont(buttonFont);
        b->setGeometry(platform::twipsRect(left, 6555, 1140, 360));
        b->setAutoDefault(false);
        fitCaption(b);
        return b;
    };
    cmdErrorLog = actionButton("Error &Log", 0);
    cmdTraceLog = actionButton("&Trace Log", 1140);
    cmdPost = actionButton("&Post Error", 5160);
    cmdEmlSet = actionButton("Email Settin&gs", 6300);
    cmdEmail = actionButton("E&mail Error", 7440);
    cmdClose = actionButton("&Close", 8580);
    cmdSent = actionButton("What Is Se&nt", 3420);
    cmdSent->setVisible(options_.privacy);
    // Enter and Esc both close.
    cmdClose->setDefault(true);

    connect(cmdErrorInfo, &QPushButton::clicked, this,
            [this] { showSection(QStringLiteral("Error Information"), m_strErrDetail); });
    connect(cmdAppInfo, &QPushButton::clicked, this,
            [this] { showSection(QStringLiteral("App. Information"), AppLog); });
    connect(cmdSystemInfo, &QPushButton::clicked, this,
            [this] { showSection(QStringLiteral("System Information"), SysLog); });
    connect(cmdDatabaseInfo, &QPushButton::clicked, this,
            [this] { showSection(QStringLiteral("Database Information"), DbLog); });
    connect(cmdErrorLog, &QPushButton::clicked, this,
            [this] { openLog(QStringLiteral("Error.log")); });
    connect(cmdTraceLog, &QPushButton::clicked, this,
            [this] { openLog(QStringLiteral("Trace.log")); });
    connect(cmdEmlSet, &QPushButton::clicked, this, [this] { frmEml::showModalFor(this); });
    connect(cmdEmail, &QPushButton::clicked, this, &frmError::cmdEmail_Click);
    connect(cmdPost, &QPushButton::clicked, this, &frmError::cmdPost_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmError::cmdClose_Click);
    connect(cmdSent, &QPushButton::clicked, this, [this] { showWhatIsSent(this, outgoingBody()); });
}

void frmError::setContent(const core::ErrorDialogContent& content) {
    m_dblErrNum = content.errorNumber;
    m_strDestination = content.destination;
    m_strErrDetail = content.errorDetail;
    m_bolTraceExecution = content.traceExecution;
    ShowAppInfo = content.showAppInfo;
    ShowDBInfo = content.showDbInfo;
    ShowSysInfo = content.showSysInfo;
    ShowPostButton = content.showPostButton;
    AppLog = content.appLog;
    SysLog = content.sysLog;
    DbLog = content.dbLog;
    m_strEmailAddress = content.emailAddress;
    m_strSubject = content.subject;
    m_strEmailDetailAPI = content.emailDetailApi;
    m_strEmailDetailAPI2 = content.emailDetailApi2;
    m_strToName = content.toName;
}

void frmError::setDeliveryOptions(const core::DeliveryOptions& options) {
    options_ = options;
    if (cmdSent)
        cmdSent->setVisible(options.privacy);
}

void frmError::setNotes(const core::DialogNotes& notes) {
    notes_ = notes;
    if (lblRepeats)
        showNotes();
}

void frmError::showNotes() {
    lblRepeats->setText(notes_.repeats);
    lblRepeats->setVisible(!notes_.repeats.isEmpty());
}

void frmError::refresh() {
    load();
    update();
}

void frmError::showModal() {
    load();
    exec();
}

void frmError::load() {
    if (loaded_)
        return;
    loaded_ = true;
    // Made at the first loading, not with the instance: the host sets the posting address
    // at start-up, and the report's text box would otherwise put the application's gesture
    // handling in the way of every event the host's program receives from then on.
    if (!cmdClose)
        createControls();
    winsock_ = std::make_unique<platform::TcpConnection>();
    // The dialog's own handler comes first: the component's mailer reads what it stored.
    connect(winsock_.get(), &platform::TcpConnection::DataArrival, this,
            &frmError::Winsock1_DataArrival);
    mailer_ = std::make_unique<delivery::SmtpMailer>(
        delivery::SmtpMailer::Copy{[this]() -> platform::TcpConnection& { return *winsock_; },
                                   {},
                                   [this](const delivery::OutgoingMessage& message) {
                                       if (outbox_)
                                           outbox_->keep(message);
                                   }});
    Form_Load();
}

void frmError::Form_Load() {
    try {
        cmdTraceLog->setEnabled(m_bolTraceExecution);
        lblErrNum->setText(QStringLiteral("Error Number: ") + platform::CStr(m_dblErrNum));
        cmdEmlSet->setVisible(platform::CBool(
            core::HandlerSettings::read(QStringLiteral("EmailSettings"), QStringLiteral("True"))));
        update();
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    } catch (...) {
        // The window opens whatever failed while loading.
    }
}

void frmError::unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    hide();
    mailer_.reset();
    winsock_.reset();
}

// The window is hidden, not destroyed, between showings, and would keep the focus where
// the user left it: a section button would then take Enter instead of Close.
void frmError::showEvent(QShowEvent* event) {
    cmdClose->setFocus();
    QDialog::showEvent(event);
}

bool frmError::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}

void frmError::Form_Activate() {
    body_ = m_strErrDetail;
    if (ShowAppInfo)
        body_ += crlf + crlf + AppLog;
    if (ShowSysInfo)
        body_ += crlf + crlf + SysLog;
    if (ShowDBInfo)
        body_ += crlf + crlf + DbLog;
    cmdAppInfo->setVisible(ShowAppInfo);
    cmdSystemInfo->setVisible(ShowSysInfo);
    cmdDatabaseInfo->setVisible(ShowDBInfo);
    cmdPost->setVisible(ShowPostButton);
    cmdErrorInfo->click();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(outgoingBody());
}

void frmError::showSection(const QString& heading, const QString& text) {
    lblTabHeading->setText(heading);
    txtOutput->clear();
    txtOutput->setPlainText(text);
}

void frmError::openLog(const QString& name) {
    const QString path = m_strDestination + u'/' + name;
    // The editor is started whether or not the log exists; the user is told it is missing.
    if (platform::shellOpen(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())) ==
        platform::shell::fileNotFound)
        platform::MsgBox(QStringLiteral("Cannot find the ") + path + QStringLiteral(" file."),
                         platform::mb::OKOnly | platform::mb::Exclamation, name);
}

void frmError::cmdEmail_Click() {
    BusyPointer busy(this);
    try {
        if (cmdEmlSet->isVisible())
            frmEml::offerBeforeMailing(this);
        if (delivery::deliveryDeclined())
            return;
        switch (core::HandlerSettings::emailType()) {
        case aeOutlook:
            delivery::reportOutlookResult(
                delivery::SendOutlookMail(m_strEmailAddress, m_strSubject, outgoingBody()));
            break;
        case aeDefault:
            m_strEmailDetailAPI = delivery::mailLink(m_strEmailAddress, m_strSubject);
            delivery::reportMailClientResult(
                delivery::OpenMailClient(m_strEmailDetailAPI, m_strEmailDetailAPI2));
            break;
        case aeSMTP: {
            const core::MailValues& mail = core::MailValues::current();
            mailer_->SendEmail(mail.SMTPMailServer, mail.FromName, mail.FromEmailAddress,
                               m_strToName, m_strEmailAddress, m_strSubject, outgoingBody());
            break;
        }
        }
    } catch (...) {
        // Ends without a message, as every delivery failure outside the mailers does.
    }
}

void frmError::cmdPost_Click() {
    BusyPointer busy(this);
    QStringList values{QStringLiteral("ErrDetail"), options_.outgoing(m_strErrDetail),
                       QStringLiteral("AppInfo"),   options_.outgoing(AppLog),
                       QStringLiteral("SysInfo"),   options_.outgoing(SysLog),
                       QStringLiteral("DBInfo"),    options_.outgoing(DbLog)};
    const QString answer = delivery::PostToUrl(fUrl, values);
    platform::MsgBox(answer, platform::mb::OKOnly, QStringLiteral("Internet Error Reporting"));
    // A posting that found no server is kept, exactly as requested, to go later.
    if (outbox_ && answer == QStringLiteral("Failed sending: Coludn't Connect to Server")) {
        delivery::OutgoingMessage message;
        message.target = delivery::postingUrl(fUrl, values).toLocal8Bit();
        outbox_->keep(message);
    }
}

void frmError::cmdClose_Click() {
    try {
        hide();
        if (QWidget* active = QApplication::activeWindow())
            active->update();
        unload();
    } catch (...) {
    }
}

void frmError::closeEvent(QCloseEvent* event) {
    unload();
    QDialog::closeEvent(event);
}

void frmError::Winsock1_DataArrival() {
    mailer_->ReplyBuffer = winsock_->GetData();
    delivery::lastReplySlot() = mailer_->ReplyBuffer;
}

} // namespace trapwell::dialogs
