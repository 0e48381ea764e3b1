// SPDX-License-Identifier: MIT
#include "form1_layout.h"

namespace lumadesk {
namespace {

using desk::ControlKind;
using desk::ControlRecord;

// One row per control, in layout order; positions and sizes in twips.
// clang-format off
const ControlRecord kControls[] = {
    {.name = "Command9", .kind = ControlKind::PictureButton,
     .left = 8700, .top = 6000, .width = 975, .height = 975, .tabIndex = 7,
     .picture = ":/art/typing.svg", .accessibleName = "休闲打字"},
    {.name = "Command8", .kind = ControlKind::PictureButton,
     .left = 7080, .top = 6000, .width = 975, .height = 975, .tabIndex = 6,
     .picture = ":/art/listening.svg", .accessibleName = "听力自测"},
    {.name = "Command7", .kind = ControlKind::PictureButton,
     .left = 10320, .top = 6000, .width = 975, .height = 975, .tabIndex = 5,
     .picture = ":/art/quit.svg", .accessibleName = "退 出"},
    {.name = "Command4", .kind = ControlKind::PictureButton,
     .left = 5460, .top = 6000, .width = 975, .height = 975, .tabIndex = 4,
     .picture = ":/art/dictation.svg", .accessibleName = "听写训练"},
    {.name = "Command3", .kind = ControlKind::PictureButton,
     .left = 3840, .top = 6000, .width = 975, .height = 975, .tabIndex = 3,
     .picture = ":/art/review.svg", .accessibleName = "复习回忆"},
    {.name = "Command2", .kind = ControlKind::PictureButton,
     .left = 2220, .top = 6000, .width = 975, .height = 975, .tabIndex = 2,
     .picture = ":/art/first_study.svg", .accessibleName = "课文初记"},
    {.name = "Command1", .kind = ControlKind::PictureButton,
     .left = 600, .top = 6000, .width = 975, .height = 975, .tabIndex = 1,
     .picture = ":/art/choose_course.svg", .accessibleName = "选 课"},
    {.name = "Timer1", .kind = ControlKind::Timer, .interval = 1000},
    {.name = "MMControl1", .kind = ControlKind::MultimediaControl,
     .left = 720, .top = 3000, .width = 3540, .height = 330, .tabIndex = 0, .visible = false},
    {.name = "WebBrowser3", .kind = ControlKind::WebView,
     .left = 8760, .top = 7200, .width = 2535, .height = 735, .tabIndex = 8,
     .accessibleName = "网站页面（右）"},
    {.name = "WebBrowser2", .kind = ControlKind::WebView,
     .left = 600, .top = 7200, .width = 2535, .height = 735, .tabIndex = 9,
     .accessibleName = "网站页面（左）"},
    {.name = "WebBrowser1", .kind = ControlKind::WebView,
     .left = 3360, .top = 7200, .width = 5055, .height = 735, .tabIndex = 10,
     .accessibleName = "网站页面（中）"},
    {.name = "Label1", .kind = ControlKind::Marker,
     .left = -600, .top = 5940, .width = 1050, .height = 1065, .background = QColor(0, 0, 255)},
};
// clang-format on

const desk::FormLayout kLayout{
    .window = {.caption = "Zideviv--大学英语精读\u3000\u3000\u3000 版本号\uff1a\u30005.13       "
                          "Zuvizuz  网站: ",
               .clientWidth = 11880,
               .clientHeight = 8175,
               .background = QColor(192, 192, 255),
               .icon = ":/art/sun.svg"},
    .controls = kControls,
};

}  // namespace

const desk::FormLayout& Form1Layout() {
  return kLayout;
}

}  // namespace lumadesk
