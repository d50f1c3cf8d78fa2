#include "mainwindow/form1.h"

#include "links/weblinks.h"
#include "mainwindow/checkvalues.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/moduleselection.h"
#include "mainwindow/presentationcontrol.h"
#include "mainwindow/startatlogin.h"
#include "mainwindow/systray.h"
#include "mainwindow/trayhandlers.h"
#include "mainwindow/traymenu.h"
#include "presentation/presentationstate.h"
#include "tracing/addresses.h"
#include "tracing/appobject.h"
#include "tracing/traced.h"

#include "platform/classiccheckbox.h"
#include "platform/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

namespace veltrano {

namespace {

const QString designCaption = QStringLiteral("Veltrano Rudoz Arirera ");

QString image(const char* name) {
    return QStringLiteral(":/veltrano/images/") + QLatin1String(name);
}

// Captions of the module boxes 4 .. 25.
QString moduleCaption(int number) {
    static const char* const tail[] = {"Q - R", "S", "T - U", "V - W", "X - Z", "New Words"};
    return number <= 19 ? QString(QChar(u'A' + (number - 4)))
                        : QString::fromLatin1(tail[number - 20]);
}

QFrame* line(QWidget* parent, const QRect& geometry, QFrame::Shape shape = QFrame::HLine) {
    auto* l = new QFrame(parent);
    l->setFrameShape(shape);
    l->setStyleSheet(QStringLiteral("color: #cbd5e1;"));
    l->setGeometry(geometry);
    return l;
}

} // namespace

Form1::Form1() : QWidget(nullptr) {
    loadImageResources();
    setWindowTitle(designCaption);
    setWindowIcon(QIcon(svgPixmap(image("logo.svg"), QSize(64, 64))));
    setFixedSize(platform::twipsRect(0, 0, 6750, 3570).size());
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    createControls();
    modules_ = std::make_unique<ModuleSelection>(*this);
    // After Image5_Click, which shows the stored key: the box shows what the desktop does.
    connect(Image5, &ImageButton::Click, this, [this] { startatloginload(*this); });
    presentation_ = std::make_unique<PresentationControl>(*this);
    tray_ = std::make_unique<TrayHandlers>(*this);
    trayMenu_ = std::make_unique<TrayMenu>(*this);
    links_ = std::make_unique<WebLinks>();
    connect(Image1, &ImageButton::Click, links_.get(), &WebLinks::Image1_Click);
    connect(Image4, &ImageButton::Click, links_.get(), &WebLinks::Image4_Click);
    connect(mContact, &QAction::triggered, links_.get(), &WebLinks::mContact_Click);
    connect(mVisit, &QAction::triggered, links_.get(), &WebLinks::mVisit_Click);
    Timer1->start();
}

Form1::~Form1() = default;

platform::ClassicCheckBox* Form1::Check(int number) const {
    return boxes_.at(std::size_t(number - 4));
}

void Form1::createControls() {
    // Along the top: start or stop, then the panels, update and contact.
    Image2 = new ImageButton(image("start.svg"), platform::twipsRect(120, 120, 720, 720), this);
    Image2->setToolTip(QStringLiteral("Click me to start."));
    Image3 = new ImageButton(image("stop.svg"), platform::twipsRect(120, 120, 720, 720), this);
    Image3->setToolTip(QStringLiteral("Click me to stop."));
    Image3->hide();
    Image6 = new ImageButton(image("modules.svg"), platform::twipsRect(960, 120, 720, 720), this);
    Image6->setToolTip(QStringLiteral("Edit Subliminal Modules"));
    const QString scheduleTip = QStringLiteral("Schedule when you want to use Veltrano.");
    Image5 = new ImageButton(image("schedule.svg"), platform::twipsRect(1800, 120, 720, 720), this);
    Image5->setToolTip(scheduleTip);
    Image12 = new ImageButton(image("schedule-close.svg"), platform::twipsRect(1800, 120, 720, 720),
                              this);
    Image12->setToolTip(scheduleTip);
    Image12->hide();
    Image1 = new ImageButton(image("update.svg"), platform::twipsRect(2640, 120, 720, 720), this);
    Image1->setToolTip(QStringLiteral("Update Veltrano Rudoz Arirera"));
    Image4 = new ImageButton(image("contact.svg"), platform::twipsRect(3480, 120, 720, 720), this);
    Image4->setToolTip(QStringLiteral("Contact Development Team"));
    Image10 = new ImageButton(image("logo.svg"), platform::twipsRect(5880, 120, 720, 720), this);
    Line1 = line(this, platform::twipsRect(120, 900, 5400, 30));
    Line2 = line(this, platform::twipsRect(5595, 1020, 30, 2370), QFrame::VLine);

    // The panel area: a picture while both panels are closed.
    const QRect panel = platform::twipsRect(120, 960, 5430, 2490);
    Image9 = new ImageButton(image("welcome.svg"), panel, this);
    Image11 = new ImageButton(image("panel.svg"), panel, this);
    Image11->hide();
    Line3 = line(this, platform::twipsRect(240, 1380, 5190, 30));
    Line3->hide();
    for (int n = 4; n <= 26; ++n) {
        const QString caption =
            n == 26 ? QStringLiteral("Start Veltrano automatically when you log in.")
                    : moduleCaption(n);
        auto* box = new platform::ClassicCheckBox(caption, this);
        if (n == 26) {
            box->setGeometry(platform::twipsRect(360, 1560, 5000, 300));
        } else {
            const int i = n - 4;
            // The last box has the rest of its row to itself: room for "New Words".
            const int width = n == 25 ? 4 * 1290 - 30 - (i % 4) * 1290 : 1260;
            box->setGeometry(
                platform::twipsRect(360 + (i % 4) * 1290, 1500 + (i / 4) * 300, width, 285));
        }
        box->hide();
        boxes_[std::size_t(n - 4)] = box;
    }
    // Design state: only the first module ticked. No handler is connected yet, so this is
    // the window's starting value, not a click.
    Check(4)->setValue(1);

    // The frequency: the bar shows how often entries come (full = most often).
    Image7 = new ImageButton(image("increase.svg"), platform::twipsRect(5760, 960, 720, 720), this);
    Image7->setToolTip(QStringLiteral("Increase Frequency of Subliminal Messages"));
    Image8 =
        new ImageButton(image("decrease.svg"), platform::twipsRect(5760, 1800, 720, 720), this);
    Image8->setToolTip(QStringLiteral("Decrease Frequency of Subliminal Messages"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setOrientation(Qt::Vertical);
    ProgressBar1->setRange(15, 30);
    ProgressBar1->setValue(15);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(platform::twipsRect(6480, 1200, 255, 1095));

    // The running and the stopped look.
    Image14 =
        new ImageButton(image("stopped.svg"), platform::twipsRect(5880, 2640, 720, 720), this);
    Image13 =
        new ImageButton(image("running.svg"), platform::twipsRect(5640, 2640, 960, 960), this);
    Image13->hide();
    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->hide();

    // The tray icon's picture and its chooser, at the end of the top row.
    pIcon = new ImageButton(image("tray-1.svg"), platform::twipsRect(4440, 315, 330, 330), this);
    pIcon->setToolTip(QStringLiteral("Tray icon"));
    hsIcons = new QScrollBar(Qt::Horizontal, this);
    hsIcons->setGeometry(platform::twipsRect(4860, 390, 900, 180));
    hsIcons->setRange(0, 0);
    hsIcons->setContextMenuPolicy(Qt::NoContextMenu); // the window's menu, not the bar's
    for (const char* name : {"tray-1.svg", "tray-2.svg", "tray-3.svg"})
        ilIcons.append(svgPixmap(image(name), QSize(22, 22)));

    // Hidden holders of the tray's options and tooltip.
    Check1 = new platform::ClassicCheckBox(QStringLiteral("Show In tray?"), this);
    Check2 = new platform::ClassicCheckBox(QStringLiteral("Minimize to tray"), this);
    Check3 = new platform::ClassicCheckBox(QStringLiteral("Persistent Icon"), this);
    Check3->setToolTip(QStringLiteral("Icon will be restored if the notification area restarts"));
    for (platform::ClassicCheckBox* box : {Check1, Check2, Check3}) {
        box->setValue(1);
        box->hide();
    }
    Text1 = new QLineEdit(QStringLiteral("Thanks for Trying Veltrano!\r\n"), this);
    Text1->hide();

    // The platform's 1 ms timer ticked with the system clock, about every 16 ms.
    Timer1 = new QTimer(this);
    Timer1->setInterval(16);

    // The icon's popup menu, which a right click on the window opens too.
    mFile = new QMenu(QStringLiteral("&File"), this);
    mRestore = mFile->addAction(QStringLiteral("Restore"));
    mSpacer = mFile->addSeparator();
    mContact = mFile->addAction(QStringLiteral("Contact Development Team"));
    mVisit = mFile->addAction(QUrl(QLatin1String(addresses::website)).host());
}

void Form1::Form_Load() {
    Traced proc(u"Form1.Form_Load");
    proc.run([&](Traced::Line& at) {
        at(10);
        Presentation::WordInterval = 15;
        at(20);
        ProgressBar1->setValue(30);
        at(30);
        mRestore->setEnabled(false);
        at(40);
        cTray = std::make_unique<SysTray>();
        tray_->connectTray();
        at(50);
        pIcon->setPixmap(cTray->IconPicture());
        at(60);
        Check3->setValue(cTray->PersistentIcon() ? 1 : 0);
        at(70);
        ilIcons.append(cTray->IconPicture());
        hsIcons->setMaximum(int(ilIcons.size()));
        // There is no image 0: a user dragging the bar there would only get an error report.
        hsIcons->setMinimum(1);
        at(80);
        const AppObject app;
        setWindowTitle(designCaption + QString::number(app.Major()) + u'.' +
                       QString::number(app.Minor()) + u'.' + QString::number(app.Revision()));
        at(90);
        checkvaluesload(*this);
        at(100);
        modules_->recomputeSelectedModule();
    });
}

void Form1::Form_Unload(std::int16_t& Cancel) {
    Traced proc(u"Form1.Form_Unload");
    proc.param("Cancel", "Integer", Cancel);
    proc.run([&](Traced::Line& at) {
        at(10);
        cTray.reset();
        at(20);
        // At once: no further handler runs and nothing is saved, presentation or not.
        clsAEHandling::endProgram();
    });
}

void Form1::Form_Terminate() {
    Traced proc(u"Form1.Form_Terminate");
    proc.run([&](Traced::Line& at) {
        at(10);
        close();
        at(20);
        clsAEHandling::endProgram();
    });
}

void Form1::Instance_Activate() {
    Traced proc(u"Form1.Instance_Activate");
    proc.run([&](Traced::Line& at) {
        // The tray object, there from load to unload, knows whether the window is in the tray.
        at(10);
        if (cTray)
            cTray->Restore();
    });
}

void Form1::contextMenuEvent(QContextMenuEvent* event) {
    mFile->popup(event->globalPos());
}

void Form1::closeEvent(QCloseEvent* event) {
    std::int16_t cancel = 0;
    Form_Unload(cancel);
    event->setAccepted(cancel == 0);
}

} // namespace veltrano
