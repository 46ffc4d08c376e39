#pragma once
// The low-battery warning: a small modeless window that blinks its headline and
// repeats the main window's status line, the critical rating and the remaining life.

#include "monitor/desktop.h"
#include "runtime/forms.h"

namespace tv {

// Outer size of a window with a fixed border and a caption, from its client size.
inline constexpr int kFrameWidth = 6;
inline constexpr int kFrameHeight = 25;

class frmWarning : public Form {
  public:
    // mainWindow and lifeLine: the main window and its remaining-life label, read on
    // every tick.
    frmWarning(FormRuntime& runtime, Desktop& desktop, const Form& mainWindow,
               const Label& lifeLine);

    void Timer1_Timer();
    void lblExit_Click();

    Label Label1{*this, "Label1", "Warning!  Battery Power is Extrememly Low "};
    PictureBox Image1{*this, "Image1", "WARNING"};
    Shape Shape1{*this, "Shape1"};
    Label lblMessage{*this, "lblMessage", ""};
    Label lblExit{*this, "lblExit", "OK"};
    Timer Timer1{*this, "Timer1", 500, true};

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void composeMessage();

    Desktop& desktop_;
    const Form& mainWindow_;
    const Label& lifeLine_;
};

}  // namespace tv
