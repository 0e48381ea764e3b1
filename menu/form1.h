// SPDX-License-Identifier: MIT
// The menu window: the banner, seven picture buttons that start the study programs or
// quit, the hover marker with its click sound, and three small web panels.
#pragma once

#include <QHash>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTimer>
#include <QWebEngineView>
#include <functional>

#include "form.h"
#include "hover_pointer.h"
#include "mm_control.h"

namespace lumadesk {

class Form1 : public desk::Form {
  Q_OBJECT

 public:
  // Where the running program lies, and the host of the product's web site. Tests hand in
  // their own; the program passes its folder and the maker's web address.
  using FolderOfProgram = std::function<QString()>;
  Form1(FolderOfProgram folderOfProgram, QString siteHost);

  void Form_Load();

  const QString& appFolder() const { return appFolder_; }
  const menu::HoverPointer& hoverPointer() const { return hover_; }

  // The controls, by their layout names.
  QPushButton* Command1 = nullptr;  // 选 课
  QPushButton* Command2 = nullptr;  // 课文初记
  QPushButton* Command3 = nullptr;  // 复习回忆
  QPushButton* Command4 = nullptr;  // 听写训练
  QPushButton* Command7 = nullptr;  // 退 出
  QPushButton* Command8 = nullptr;  // 听力自测
  QPushButton* Command9 = nullptr;  // 休闲打字
  QTimer* Timer1 = nullptr;
  MMControl* MMControl1 = nullptr;
  QWebEngineView* WebBrowser1 = nullptr;  // middle
  QWebEngineView* WebBrowser2 = nullptr;  // left
  QWebEngineView* WebBrowser3 = nullptr;  // right
  QWidget* Label1 = nullptr;              // the hover marker

 protected:
  void Form_Activate() override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_MouseMove();
  void Command_MouseMove(QPushButton* button);
  void Command_Click(const QString& program);
  void Command7_Click();
  void Timer1_Timer();

  void showMarker();

  FolderOfProgram folderOfProgram_;
  QString siteHost_;
  QString appFolder_;
  QSvgRenderer banner_;
  menu::HoverPointer hover_;
  QHash<const QObject*, int> buttonLefts_;  // twips, as the layout gives them
};

}  // namespace lumadesk
