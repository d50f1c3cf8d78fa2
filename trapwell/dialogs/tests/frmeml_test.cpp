#include "dialogs/frmeml.h"

#include "core/mailvalues.h"

#include "platform/classiccheckbox.h"
#include "platform/tests/support/fakes.h"
#include "platform/tests/support/outcome.h"
#include "trapwell/tests/support/component.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;
using trapwell::core::HandlerSettings;
using trapwell::core::MailValues;
using trapwell::dialogs::frmEml;

namespace {

const QString absent = u"<absent>"_s;

QString stored(const char* key) {
    return HandlerSettings::read(QLatin1String(key), absent);
}

class frmEmlTest : public testing::Test {
protected:
    void SetUp() override {
        forgetSettings();
        MailValues::current() = {"Old Name", "old@example.org", "old.example.org"};
    }

    // Shows the dialog modally and lets user act once the modal loop runs. A dialog left
    // open is a failure and gets closed, so no test can hang.
    static bool runModal(const std::function<void(frmEml&)>& user) {
        QTimer::singleShot(0, [user] {
            auto* dialog = qobject_cast<frmEml*>(QApplication::activeModalWidget());
            if (!dialog)
                return ADD_FAILURE() << "no modal e-mail dialog", void();
            user(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "dialog left open";
                dialog->close();
            }
        });
        return frmEml::showModalFor(nullptr);
    }
    void expectComplaint(qsizetype count, const char* prompt) {
        ASSERT_EQ(boxes.calls().size(), count);
        EXPECT_EQ(boxes.calls().last().prompt, QLatin1String(prompt));
        EXPECT_EQ(boxes.calls().last().title, u"Email"_s);
    }

    platform::MsgBoxRecorder boxes;
};

} // namespace

TEST_F(frmEmlTest, AStoredTextThatIsNoNumberFailsTheLoadElseTheStoredValuesShow) {
    for (const auto& [key, value] : {std::pair{"EmailType", "Outlook"}, {"ShowEmlScre", "yes"}}) {
        storeSetting(key, value);
        EXPECT_EQ(outcome([] { return frmEml::showModalFor(nullptr); }), "error 13") << key;
        storeSetting(key, "1");
    }
    EXPECT_EQ(stored("EmailFlag"), absent);

    storeSetting("EmailType", "2");
    frmEml dialog;
    EXPECT_TRUE(dialog.optEmailType[2]->isChecked());
    EXPECT_EQ(dialog.txtMailserver->text(), u"old.example.org"_s);
    EXPECT_EQ(dialog.txtFrom->text(), u"Old Name"_s);
    EXPECT_EQ(dialog.txtEmailAddress->text(), u"old@example.org"_s);
    EXPECT_EQ(dialog.chkShowScreen->Value(), 1);
}

TEST_F(frmEmlTest, OnlySmtpEnablesTheTextBoxes) {
    frmEml dialog; // no stored kind: Outlook
    const QColor inactive = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    ASSERT_NE(inactive, QColor(Qt::white));
    for (int i : {0, 2, 1}) {
        if (i != 0)
            dialog.optEmailType[std::size_t(i)]->click();
        EXPECT_EQ(dialog.selectedKind(), i);
        for (QLineEdit* box : {dialog.txtMailserver, dialog.txtFrom, dialog.txtEmailAddress}) {
            EXPECT_EQ(box->isEnabled(), i == 2) << i;
            EXPECT_EQ(box->palette().color(QPalette::Base), i == 2 ? Qt::white : inactive) << i;
        }
    }
}

TEST_F(frmEmlTest, OkStoresTheKindAndForSmtpTheMailValues) {
    storeSetting("EmailType", "7"); // a kind without option button is kept
    EXPECT_TRUE(runModal([](frmEml& d) { d.cmdSend->click(); }));
    EXPECT_EQ(stored("EmailType"), u"7"_s);

    EXPECT_TRUE(runModal([](frmEml& d) {
        d.optEmailType[2]->click();
        d.txtMailserver->setText(u"smtp.example.org"_s);
        d.txtEmailAddress->setText(u"bob@example.org"_s);
        d.chkShowScreen->click();
        d.cmdSend->click();
    }));
    EXPECT_EQ(stored("EmailType"), u"2"_s);
    EXPECT_EQ(stored("ShowEmlScre"), u"1"_s);
    EXPECT_EQ(stored("EmailFlag"), u"True"_s);
    EXPECT_EQ(MailValues::current().SMTPMailServer, u"smtp.example.org"_s);
    EXPECT_EQ(MailValues::current().FromEmailAddress, u"bob@example.org"_s);

    EXPECT_TRUE(runModal([](frmEml& d) {
        d.optEmailType[1]->click();
        d.txtMailserver->setText(u"ignored.example.org"_s);
        d.cmdSend->click();
    }));
    EXPECT_EQ(stored("EmailType"), u"1"_s);
    EXPECT_EQ(MailValues::current().SMTPMailServer, u"smtp.example.org"_s);
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(frmEmlTest, MissingServerOrAddressKeepsTheDialogOpenWithWhatCameBeforeTaken) {
    storeSetting("EmailType", "2");
    EXPECT_TRUE(runModal([this](frmEml& d) {
        d.txtMailserver->clear();
        d.cmdSend->click();
        expectComplaint(1, "Enter the MailServer for sending the Email through SMTP.");
        EXPECT_EQ(d.focusWidget(), d.txtMailserver);
        EXPECT_EQ(MailValues::current().FromName, u"Old Name"_s);

        d.txtMailserver->setText(u"smtp.example.org"_s);
        d.txtFrom->clear(); // accepted here
        d.txtEmailAddress->clear();
        d.cmdSend->click();
        expectComplaint(2, "Enter the Email address for sending the Email through SMTP.");
        EXPECT_EQ(d.focusWidget(), d.txtEmailAddress);
        EXPECT_TRUE(d.isVisible());
        d.close();
    }));
    EXPECT_EQ(MailValues::current().SMTPMailServer, u"smtp.example.org"_s);
    EXPECT_EQ(MailValues::current().FromName, QString());
    EXPECT_EQ(MailValues::current().FromEmailAddress, u"old@example.org"_s);
    EXPECT_EQ(stored("EmailFlag"), u"True"_s);
    EXPECT_EQ(stored("ShowEmlScre"), absent);
}

TEST_F(frmEmlTest, CancelAndCloseBoxStoreOnlyTheFlag) {
    for (auto leave : {+[](frmEml& d) { d.cmdCancel->click(); }, +[](frmEml& d) { d.close(); }}) {
        storeSetting("EmailFlag", "True");
        EXPECT_FALSE(runModal(leave));
        EXPECT_EQ(stored("EmailFlag"), u"False"_s);
    }
    EXPECT_EQ(stored("EmailType"), absent);
    EXPECT_EQ(stored("ShowEmlScre"), absent);
}
