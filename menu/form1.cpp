// SPDX-License-Identifier: MIT
#include "form1.h"

#include <unistd.h>

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QWebEngineScript>
#include <cerrno>

#include "failure_text.h"
#include "form1_layout.h"
#include "form_builder.h"
#include "menu_tables.h"
#include "offline_notice.h"
#include "sound_sequence.h"
#include "twips.h"

namespace lumadesk {
namespace {

constexpr int kFinalWidth = 12000;  // twips, frame included
constexpr int kFinalHeight = 8595;
constexpr int kActivationLift = 220;

// Removes the scroll bars of the page on show; a page without a body yet is left alone.
// It runs in a script world of its own, which shares the page's document but none of its
// scripts' objects: `scroll` is set as the attribute it was, since the property of that
// name is the page's own scroll() method, and whatever the page's scripts replaced of the
// DOM's prototypes is not called.
const QString kNoScrollBars = QStringLiteral(
    "if (document.body) { document.body.setAttribute('scroll', 'no');"
    " document.body.style.overflow = 'hidden';"
    " document.documentElement.style.overflow = 'hidden'; }");

QObject* MakeMenuControl(const desk::ControlRecord& record, QWidget* form) {
  switch (record.kind) {
    case desk::ControlKind::WebView: {
      auto* view = new QWebEngineView(form);
      view->setFocusPolicy(Qt::StrongFocus);  // a panel is a stop of the Tab key
      return view;
    }
    case desk::ControlKind::MultimediaControl:
      return new MMControl(form);
    case desk::ControlKind::Timer: {
      auto* timer = new QTimer(form);
      timer->setInterval(record.interval);
      timer->start();  // runs from creation
      return timer;
    }
    default:
      return nullptr;
  }
}

// Why a program could not be started, as far as the system tells.
QString StartFailureReason(const QString& path, const QString& qtReason) {
  if (::access(QFile::encodeName(path).constData(), X_OK) != 0) {
    return desk::ReasonText(errno, qtReason);
  }
  return qtReason;
}

}  // namespace

Form1::Form1(FolderOfProgram folderOfProgram, QString siteHost)
    : desk::Form(Form1Layout().window),
      folderOfProgram_(std::move(folderOfProgram)),
      siteHost_(std::move(siteHost)),
      banner_(QString::fromLatin1(kBannerPicture)) {
  const auto [controls, keyboardOrder] =
      desk::BuildControls(this, Form1Layout().controls, MakeMenuControl);
  Command1 = desk::Control<QPushButton>(controls, "Command1");
  Command2 = desk::Control<QPushButton>(controls, "Command2");
  Command3 = desk::Control<QPushButton>(controls, "Command3");
  Command4 = desk::Control<QPushButton>(controls, "Command4");
  Command7 = desk::Control<QPushButton>(controls, "Command7");
  Command8 = desk::Control<QPushButton>(controls, "Command8");
  Command9 = desk::Control<QPushButton>(controls, "Command9");
  Timer1 = desk::Control<QTimer>(controls, "Timer1");
  MMControl1 = desk::Control<MMControl>(controls, "MMControl1");
  WebBrowser1 = desk::Control<QWebEngineView>(controls, "WebBrowser1");
  WebBrowser2 = desk::Control<QWebEngineView>(controls, "WebBrowser2");
  WebBrowser3 = desk::Control<QWebEngineView>(controls, "WebBrowser3");
  Label1 = desk::Control<QWidget>(controls, "Label1");
  setKeyboardOrder(keyboardOrder);

  setMouseTracking(true);
  for (const desk::ControlRecord& record : Form1Layout().controls) {
    if (record.kind != desk::ControlKind::PictureButton) continue;
    auto* button = desk::Control<QPushButton>(controls, record.name);
    buttonLefts_.insert(button, record.left);
    button->setMouseTracking(true);
    button->installEventFilter(this);
  }
  for (const menu::Launch& launch : menu::kLaunchTable) {
    auto* button = desk::Control<QPushButton>(controls, launch.button.data());
    const QString program = QString::fromLatin1(launch.program.data(), launch.program.size());
    connect(button, &QPushButton::clicked, this, [this, program] { Command_Click(program); });
  }
  connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
  connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

void Form1::Form_Load() {
  appFolder_ = folderOfProgram_();
  for (const menu::Panel& panel : menu::kPanelTable) {
    const QString page = QString::fromLatin1(panel.page.data(), panel.page.size());
    auto* view =
        findChild<QWebEngineView*>(QString::fromLatin1(panel.name.data(), panel.name.size()));
    (new OfflineNotice(view))->load(QUrl::fromUserInput(siteHost_ + page));
  }
  MMControl1->prepare(QFile::encodeName(appFolder_).toStdString() + '/' +
                      std::string(menu::kClickSound));
}

void Form1::Form_Activate() {
  setOuterSize(kFinalWidth, kFinalHeight);
  moveUp(kActivationLift);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
  // Moves over a control that lets them through (the web panels, the marker) are not
  // moves over the window's own background.
  if (!childAt(event->position().toPoint())) Form_MouseMove();
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  banner_.render(&painter, QRectF(0, 0, kBannerWidth, kBannerHeight));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove && buttonLefts_.contains(watched)) {
    Command_MouseMove(static_cast<QPushButton*>(watched));
  }
  return false;
}

void Form1::Form_MouseMove() {
  hover_.overBackground();
  showMarker();
}

void Form1::Command_MouseMove(QPushButton* button) {
  const bool playSound = hover_.overButton(buttonLefts_.value(button));
  showMarker();
  if (!playSound) return;
  for (const menu::MciAssignment& assignment :
       menu::SoundSequence(QFile::encodeName(folderOfProgram_()).toStdString())) {
    MMControl1->assign(assignment);
  }
}

void Form1::showMarker() {
  Label1->setVisible(hover_.markerVisible());
  Label1->move(desk::TwipsToPixels(hover_.markerLeft()), Label1->y());
}

void Form1::Command_Click(const QString& program) {
  const QString path = appFolder_ + QLatin1Char('/') + program;
  QProcess process;
  process.setProgram(path);
  if (process.startDetached()) return;
  showMessage(QMessageBox::Warning, QStringLiteral("错误提示"),
              QStringLiteral("无法启动程序“%1”：%2。")
                  .arg(path, StartFailureReason(path, process.errorString())));
}

void Form1::Command7_Click() {
  close();
}

void Form1::Timer1_Timer() {
  for (QWebEngineView* panel : {WebBrowser1, WebBrowser2, WebBrowser3}) {
    panel->page()->runJavaScript(kNoScrollBars, QWebEngineScript::ApplicationWorld);
  }
}

}  // namespace lumadesk
