// SPDX-License-Identifier: MIT
#include "form_builder.h"

#include <map>

#include "choice_list.h"
#include "form_button.h"
#include "picture_widgets.h"
#include "twips.h"

namespace desk {
namespace {

QColor SystemColour(const QWidget* form, int index) {
  // Index 6 is the window-frame colour: the theme's dark frame shade.
  return index == 6 ? form->palette().color(QPalette::Shadow)
                    : form->palette().color(QPalette::Text);
}

QWidget* MakeWidget(const ControlRecord& record, QWidget* form) {
  const QString picture = QString::fromUtf8(record.picture ? record.picture : "");
  switch (record.kind) {
    case ControlKind::PictureButton:
      return new PictureButton(picture, form);
    case ControlKind::TextButton:
      return new FormButton(QString::fromUtf8(record.caption ? record.caption : ""), form);
    case ControlKind::ListBox: {
      auto* list = new ChoiceList(form);
      for (const char* item : record.items) list->addItem(QString::fromUtf8(item));
      if (record.systemTextColour >= 0) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Text, SystemColour(form, record.systemTextColour));
        list->setPalette(palette);
      }
      return list;
    }
    case ControlKind::Picture:
      return new PictureBox(picture, form);
    case ControlKind::Marker:
      return new MarkerBox(record.background, form);
    default:
      return nullptr;
  }
}

}  // namespace

BuiltControls BuildControls(QWidget* form, std::span<const ControlRecord> controls,
                            const ControlFactory& makeOther) {
  BuiltControls built;
  NamedControls& named = built.named;
  std::map<int, QWidget*> keyboardOrder;
  std::vector<QWidget*> beneath;
  for (const ControlRecord& record : controls) {
    QObject* control = MakeWidget(record, form);
    if (!control && makeOther) control = makeOther(record, form);
    Q_ASSERT_X(control, "desk::BuildControls", record.name);
    control->setObjectName(QString::fromLatin1(record.name));
    named.insert(control->objectName(), control);
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget) continue;
    widget->setGeometry(TwipsRect(record.left, record.top, record.width, record.height));
    widget->setVisible(record.visible);
    if (record.accessibleName) widget->setAccessibleName(QString::fromUtf8(record.accessibleName));
    if (record.tabIndex >= 0) {
      keyboardOrder[record.tabIndex] = widget;
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    if (record.kind == ControlKind::Picture || record.kind == ControlKind::Marker) {
      beneath.push_back(widget);
    }
  }
  for (QWidget* widget : beneath) widget->lower();
  QWidget* previous = nullptr;
  for (const auto& [index, widget] : keyboardOrder) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
    built.keyboardOrder.push_back(widget);
  }
  return built;
}

}  // namespace desk
