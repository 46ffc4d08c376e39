#include "monitor/qt/warning_window_view.h"

#include <QCloseEvent>

#include "platform/qt/qt_bindings.h"
#include "platform/qt/system_colours.h"
#include "resources/resources.h"

namespace tv {

namespace {

constexpr int kClientWidth = 291;
constexpr int kClientHeight = 167;
constexpr int kIconSize = 32;

}  // namespace

WarningWindowView::WarningWindowView(frmWarning& form, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(form),
      afterEvent_(std::move(afterEvent)),
      headline_(new QLabel(this)),
      icon_(new QLabel(this)),
      shape_(new QFrame(this)),
      message_(new QLabel(this)),
      ok_(new ClickLabel(this)) {
    setObjectName(QStringLiteral("frmWarning"));
    setFixedSize(kClientWidth, kClientHeight);
    QFont face = font();
    face.setPixelSize(kWindowFontPixels);
    setFont(face);
    // The window's own icon is the alert drawing, as is the picture inside.
    setWindowIcon(loadIcon("ALERT"));

    QFont bold = face;
    bold.setBold(true);
    headline_->setObjectName(QStringLiteral("Label1"));
    headline_->setFont(bold);
    headline_->setGeometry(8, 10, 275, 18);
    headline_->setAlignment(Qt::AlignCenter);

    icon_->setObjectName(QStringLiteral("Image1"));
    icon_->setGeometry(16, 44, kIconSize, kIconSize);
    icon_->setPixmap(loadPicture("ALERT", kIconSize, devicePixelRatioF()));

    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setGeometry(60, 38, 223, 74);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message_->setWordWrap(true);

    // The shape draws a raised frame round the label, so "OK" reads as a button.
    shape_->setObjectName(QStringLiteral("Shape1"));
    shape_->setGeometry(105, 124, 81, 28);
    shape_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    shape_->setLineWidth(2);

    ok_->setObjectName(QStringLiteral("lblExit"));
    ok_->setGeometry(107, 126, 77, 24);
    ok_->setAlignment(Qt::AlignCenter);
    ok_->onClick = [this] {
        form_.lblExit.click();
        afterEvent_();
    };
}

void WarningWindowView::sync() {
    syncLabel(*headline_, form_.Label1);
    syncLabel(*ok_, form_.lblExit);
    syncLinesLabel(*message_, form_.lblMessage);
    if (!placed_) {
        placed_ = true;
        move(form_.Left, form_.Top);
    }
    tv::syncWindow(*this, form_);
}

void WarningWindowView::closeEvent(QCloseEvent* event) {
    // Closing from the title bar unloads the window, as clicking "OK" does without
    // stopping its timer first; the views drop this widget when the unload arrives.
    event->ignore();
    form_.runtime().unload(form_, vbFormControlMenu);
    afterEvent_();
}

}  // namespace tv
