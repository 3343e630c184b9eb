// Every task screen of the program, made known to the navigator and to the
// screens that open one another.
//
//   RegisterScreens();           // before the navigator is created
//   TForm_hl form(arguments);
//
// This is the only place that knows the screens of every subsystem (lists,
// rides, queries); the subsystems know one another only by ScreenId.
#pragma once

namespace kolvio {

void RegisterScreens();

}  // namespace kolvio
