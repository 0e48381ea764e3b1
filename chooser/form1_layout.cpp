// SPDX-License-Identifier: MIT
#include "form1_layout.h"

#include "fixed_names.h"

namespace pickwell {
namespace {

using desk::ControlKind;
using desk::ControlRecord;

// One row per control, in layout order; positions and sizes in twips.
// clang-format off
const ControlRecord kControls[] = {
    {.name = "Command3", .kind = ControlKind::PictureButton,
     .left = 2040, .top = 6840, .width = 975, .height = 975, .tabIndex = 5,
     .picture = ":/art/quit.svg", .accessibleName = "退 出"},
    {.name = "Command2", .kind = ControlKind::PictureButton,
     .left = 600, .top = 6840, .width = 975, .height = 975, .tabIndex = 4,
     .picture = ":/art/confirm.svg", .accessibleName = "确 定"},
    {.name = "List2", .kind = ControlKind::ListBox,
     .left = 3960, .top = 240, .width = 7575, .height = 7620, .tabIndex = 3,
     .accessibleName = "这一课的词条", .systemTextColour = 6},
    {.name = "List1", .kind = ControlKind::ListBox,
     .left = 240, .top = 2760, .width = 3255, .height = 3840, .tabIndex = 2,
     .accessibleName = "这一册的课"},
    {.name = "Command1", .kind = ControlKind::TextButton,
     .left = 4920, .top = 8640, .width = 1335, .height = 615, .tabIndex = 1,
     .caption = "Command1", .accessibleName = "重新列出这一册的课"},
    {.name = "List3", .kind = ControlKind::ListBox,
     .left = 240, .top = 360, .width = 3255, .height = 2220, .tabIndex = 0,
     .accessibleName = "课本（册）", .items = course::kBookTitles},
    {.name = "Image2", .kind = ControlKind::Picture,
     .left = 120, .top = 120, .width = 3495, .height = 7980, .picture = ":/art/panel.svg"},
    {.name = "Image3", .kind = ControlKind::Picture,
     .left = 3720, .top = 120, .width = 8055, .height = 7995, .picture = ":/art/panel.svg"},
};
// clang-format on

const desk::FormLayout kLayout{
    .window = {.caption = "选课       Zuvizuz  网站: ",
               .clientWidth = 11580,
               .clientHeight = 8100,
               .background = QColor(245, 243, 254),
               .icon = ":/art/sun.svg"},
    .controls = kControls,
};

}  // namespace

const desk::FormLayout& Form1Layout() {
  return kLayout;
}

}  // namespace pickwell
