// SPDX-License-Identifier: MIT
// The course editor's menus and keys: 文件, 编辑, 课 and 导入, each command with its access
// key or shortcut, and F7 and F6 straight to the findings and the preview.
#pragma once

namespace coursedesk {

class CourseWindow;

// Fills the window's menu bar and its actions, each forwarded to the window's command.
void AddCourseMenus(CourseWindow& window);

}  // namespace coursedesk
