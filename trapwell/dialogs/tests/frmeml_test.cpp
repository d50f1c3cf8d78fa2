#include "dialogs/frmeml.h"

#include "core/mailvalues.h"

#include "core/tests/support/savedsettings.h"
#include "platform/classiccheckbox.h"
#include "platform/tests/support/fakes.h"
#include "platform/tests/support/outcome.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>

using trapwell::core::MailValues;
using trapwell::dialogs::frmEml;

namespace {

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

    platform::MsgBoxRecorder boxes;
};

} // namespace

TEST_F(frmEmlTest, AStoredTextThatIsNoNumberFailsTheLoadElseTheStoredValuesShow) {
    for (const auto& [key, value] : {std::pair{"EmailType", "Outlook"}, {"ShowEmlScre", "yes"}}) {
        storeSetting(key, value);
        EXPECT_EQ(outcome([] { return frmEml::showModalFor(nullptr); }), "error 13") << key;
        storeSetting(key, "1");
    }
    EXPECT_TRUE(storedSetting("EmailFlag").isNull());

    storeSetting("EmailType", "2");
    frmEml dialog;
    EXPECT_TRUE(dialog.optEmailType[2]->isChecked());
    EXPECT_EQ(QStringList({dialog.txtMailserver->text(), dialog.txtFrom->text(),
                           dialog.txtEmailAddress->text()}),
              QStringList({"old.example.org", "Old Name", "old@example.org"}));
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
    EXPECT_EQ(storedSetting("EmailType"), "7");

    EXPECT_TRUE(runModal([](frmEml& d) {
        d.optEmailType[2]->click();
        d.txtMailserver->setText(QStringLiteral("smtp.example.org"));
        d.txtEmailAddress->setText(QStringLiteral("bob@example.org"));
        d.chkShowScreen->click();
        d.cmdSend->click();
    }));
    EXPECT_EQ(QStringList({storedSetting("EmailType"), storedSetting("ShowEmlScre"),
                           storedSetting("EmailFlag")}),
              QStringList({"2", "1", "True"}));
    EXPECT_EQ(MailValues::current().SMTPMailServer, "smtp.example.org");
    EXPECT_EQ(MailValues::current().FromEmailAddress, "bob@example.org");

    EXPECT_TRUE(runModal([](frmEml& d) {
        d.optEmailType[1]->click();
        d.txtMailserver->setText(QStringLiteral("ignored.example.org"));
        d.cmdSend->click();
    }));
    EXPECT_EQ(storedSetting("EmailType"), "1");
    EXPECT_EQ(MailValues::current().SMTPMailServer, "smtp.example.org");
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(frmEmlTest, MissingServerOrAddressKeepsTheDialogOpenWithWhatCameBeforeTaken) {
    storeSetting("EmailType", "2");
    EXPECT_TRUE(runModal([this](frmEml& d) {
        d.txtMailserver->clear();
        d.cmdSend->click();
        EXPECT_EQ(d.focusWidget(), d.txtMailserver);
        EXPECT_EQ(MailValues::current().FromName, "Old Name");

        d.txtMailserver->setText(QStringLiteral("smtp.example.org"));
        d.txtFrom->clear(); // accepted here
        d.txtEmailAddress->clear();
        d.cmdSend->click();
        EXPECT_EQ(d.focusWidget(), d.txtEmailAddress);
        EXPECT_TRUE(d.isVisible());
        d.close();
    }));
    EXPECT_EQ(boxes.texts(),
              QStringList({"Email: Enter the MailServer for sending the Email through SMTP.",
                           "Email: Enter the Email address for sending the Email through SMTP."}));
    EXPECT_EQ(MailValues::current().SMTPMailServer, "smtp.example.org");
    EXPECT_EQ(MailValues::current().FromName, "");
    EXPECT_EQ(MailValues::current().FromEmailAddress, "old@example.org");
    EXPECT_EQ(storedSetting("EmailFlag"), "True");
    EXPECT_TRUE(storedSetting("ShowEmlScre").isNull());
}

TEST_F(frmEmlTest, CancelAndCloseBoxStoreOnlyTheFlag) {
    for (auto leave : {+[](frmEml& d) { d.cmdCancel->click(); }, +[](frmEml& d) { d.close(); }}) {
        storeSetting("EmailFlag", "True");
        EXPECT_FALSE(runModal(leave));
        EXPECT_EQ(storedSetting("EmailFlag"), "False");
    }
    EXPECT_TRUE(storedSetting("EmailType").isNull());
    EXPECT_TRUE(storedSetting("ShowEmlScre").isNull());
}
