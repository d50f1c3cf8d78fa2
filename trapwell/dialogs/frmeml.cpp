#include "dialogs/frmeml.h"

#include "core/handlersettings.h"
#include "core/mailvalues.h"
#include "dialogs/dialogstyle.h"

#include "platform/classiccheckbox.h"
#include "platform/classicconvert.h"
#include "platform/classicerrors.h"
#include "platform/messagebox.h"
#include "platform/twips.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

#include <algorithm>

namespace trapwell::dialogs {

namespace {

const QString caption = QStringLiteral("Email");
const QString keyEmailType = QStringLiteral("EmailType");
const QString keyShowEmlScre = QStringLiteral("ShowEmlScre");
const QString keyEmailFlag = QStringLiteral("EmailFlag");
constexpr int smtpIndex = aeSMTP;

QFrame* line(QWidget* parent, const QRect& geometry) {
    auto* l = new QFrame(parent);
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    l->setGeometry(geometry);
    return l;
}

QLineEdit* textBox(QWidget* parent, const QRect& geometry) {
    auto* t = new QLineEdit(parent);
    t->setGeometry(geometry);
    return t;
}

QLabel* label(const QString& text, QWidget* parent, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    shrinkToFit(l, text, geometry.width());
    return l;
}

// The background is set in every colour group so it does not follow Qt's own disabled look.
void setBackColor(QLineEdit* box, const QColor& colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
}

} // namespace

// Its text is in the application's font, as the error dialog's is.
frmEml::frmEml(QWidget* parent) : QDialog(parent, modalDialogFlags()) {
    setWindowTitle(caption);
    setModal(true);
    setFixedSize(platform::twipsRect(0, 0, 4635, 3330).size());
    createControls();
    Form_Load();
}

frmEml::~frmEml() {
    // A dialog torn down while still open (its parent went first) is unloaded all the same.
    if (!unloaded_) {
        try {
            Form_Unload();
        } catch (...) {
            qWarning("frmEml: EmailFlag could not be stored");
        }
    }
}

void frmEml::createControls() {
    framEmailOptions = new QGroupBox(QStringLiteral("Email Options"), this);
    framEmailOptions->setGeometry(platform::twipsRect(120, 120, 4395, 735));
    const QString options[] = {QStringLiteral("&Outlook"), QStringLiteral("De&fault"),
                               QStringLiteral("&SMTP")};
    for (int i = 0; i < 3; ++i) {
        auto* opt = new QRadioButton(options[i], framEmailOptions);
        opt->setGeometry(platform::twipsRect(240 + i * 1335, 330, 1215, 255));
        // Checking a button from code raises its click too; the load relies on that.
        connect(opt, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optEmailType_Click(i);
        });
        optEmailType[std::size_t(i)] = opt;
    }
    Line1 = line(this, platform::twipsRect(120, 975, 4395, 30));

    lblMailServer = label(QStringLiteral("SMTP Mail Server: "), this,
                          platform::twipsRect(120, 1140, 1575, 255));
    txtMailserver = textBox(this, platform::twipsRect(1815, 1095, 2700, 315));
    lblFrom = label(QStringLiteral("From Name: "), this, platform::twipsRect(120, 1560, 1575, 255));
    txtFrom = textBox(this, platform::twipsRect(1815, 1515, 2700, 315));
    lblEmailAddress = label(QStringLiteral("From Email Address: "), this,
                            platform::twipsRect(120, 1980, 1575, 255));
    txtEmailAddress = textBox(this, platform::twipsRect(1815, 1935, 2700, 315));
    // The labels stand in one column: one size for all, the largest at which each fits.
    const qreal labelPoints =
        std::min({lblMailServer->font().pointSizeF(), lblFrom->font().pointSizeF(),
                  lblEmailAddress->font().pointSizeF()});
    for (QLabel* l : {lblMailServer, lblFrom, lblEmailAddress}) {
        QFont font = l->font();
        font.setPointSizeF(labelPoints);
        l->setFont(font);
    }
    Line2 = line(this, platform::twipsRect(120, 2370, 4395, 30));

    chkShowScreen = new platform::ClassicCheckBox(QStringLiteral("&Do not show this screen"), this);
    chkShowScreen->setGeometry(platform::twipsRect(120, 2490, 4395, 255));

    cmdSend = new QPushButton(QStringLiteral("Ok"), this);
    cmdSend->setGeometry(platform::twipsRect(2130, 2850, 1095, 375));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(platform::twipsRect(3420, 2850, 1095, 375));
    for (QPushButton* b : {cmdSend, cmdCancel}) {
        b->setFont(buttonFont());
        // Enter in a text box does not press a button, as it never did.
        b->setAutoDefault(false);
    }
    connect(cmdSend, &QPushButton::clicked, this, &frmEml::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEml::cmdCancel_Click);
}

void frmEml::Form_Load() {
    const std::int16_t kind =
        platform::CInt(core::HandlerSettings::read(keyEmailType, QStringLiteral("0")));
    if (kind >= 0 && kind < std::int16_t(optEmailType.size()))
        optEmailType[std::size_t(kind)]->setChecked(true);
    else
        // A kind without an option button (the EmailType property takes any number): no
        // button is selected, the SMTP boxes stay off, and Ok writes the kind back unchanged.
        optEmailType_Click(kind);

    const core::MailValues& mail = core::MailValues::current();
    txtMailserver->setText(mail.SMTPMailServer);
    txtFrom->setText(mail.FromName);
    txtEmailAddress->setText(mail.FromEmailAddress);

    chkShowScreen->setValue(
        platform::CInt(core::HandlerSettings::read(keyShowEmlScre, QStringLiteral("0"))));
    confirmed_ = false;
}

void frmEml::optEmailType_Click(int index) {
    const bool smtp = index == smtpIndex;
    // Inactive caption text stands for the disabled look of a box.
    const QColor disabled = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    for (QLineEdit* box : {txtMailserver, txtFrom, txtEmailAddress}) {
        box->setEnabled(smtp);
        setBackColor(box, smtp ? QColor(Qt::white) : disabled);
    }
    selectedKind_ = std::int16_t(index);
}

void frmEml::cmdSend_Click() {
    // Set before validating: a dialog closed after a validation message still counts as Ok.
    confirmed_ = true;
    if (optEmailType[smtpIndex]->isChecked()) {
        core::MailValues& mail = core::MailValues::current();
        if (txtMailserver->text().isEmpty()) {
            platform::MsgBox(
                QStringLiteral("Enter the MailServer for sending the Email through SMTP."),
                platform::mb::OKOnly, caption);
            txtMailserver->setFocus();
            return;
        }
        mail.SMTPMailServer = txtMailserver->text();
        // An empty sender name passes here; the SMTP mailer refuses it later.
        mail.FromName = txtFrom->text();
        if (txtEmailAddress->text().isEmpty()) {
            platform::MsgBox(
                QStringLiteral("Enter the Email address for sending the Email through SMTP."),
                platform::mb::OKOnly, caption);
            txtEmailAddress->setFocus();
            return;
        }
        mail.FromEmailAddress = txtEmailAddress->text();
    }
    core::HandlerSettings::write(keyShowEmlScre, QString::number(chkShowScreen->Value()));
    core::HandlerSettings::write(keyEmailType, QString::number(selectedKind_));
    accept();
}

void frmEml::cmdCancel_Click() {
    confirmed_ = false;
    reject();
}

void frmEml::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmEml::Form_Unload() {
    unloaded_ = true;
    core::HandlerSettings::write(keyEmailFlag, platform::boolText(confirmed_));
}

bool frmEml::showModalFor(QWidget* parent) {
    // Widgets live on the widget application's thread only; a console host has none.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        platform::raiseError(platform::err::actionNotSupported);
    frmEml dialog(parent);
    dialog.exec();
    return dialog.confirmed();
}

void frmEml::offerBeforeMailing(QWidget* parent) {
    const bool dontShow = platform::CBool(
        core::HandlerSettings::read(QStringLiteral("ShowEmlScre"), QStringLiteral("0")));
    if (!dontShow)
        showModalFor(parent);
    else
        core::HandlerSettings::write(QStringLiteral("EmailFlag"), QStringLiteral("True"));
}

} // namespace trapwell::dialogs
