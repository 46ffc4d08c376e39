#pragma once
// The one application object of a Qt test program, made on first use and never
// destroyed (Qt's own statics may go first at exit). Widgets need it before anything
// else is built. Without a display it runs on Qt's offscreen platform.

class QApplication;

namespace tv::testing {

QApplication& application();

}  // namespace tv::testing
