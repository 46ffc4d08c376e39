#include "monitor/qt/main_window_view.h"

#include <QCloseEvent>
#include <QMouseEvent>

#include "platform/qt/qt_bindings.h"
#include "resources/resources.h"

namespace tv {

namespace {

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 242;

struct Place {
    const char* name;
    QRect rect;
    Qt::Alignment align;
    bool wrap;
    bool filled;  // drawn on its own background colour
};

// Top line and bar across the window; the estimates (or, on mains, the mains picture
// and the charge read-outs) on the left; rating and power source on the right with
// their icons at the right edge; the product name lower middle; the link and the
// scheme on the bottom line.
const Place kLabels[] = {
    {"lblStatus", {0, 0, 408, 18}, Qt::AlignCenter, false, true},
    {"lblTotal", {12, 62, 188, 16}, Qt::AlignLeft | Qt::AlignVCenter, false, true},
    {"lblLeft", {12, 84, 188, 16}, Qt::AlignLeft | Qt::AlignVCenter, false, true},
    {"Label1", {86, 72, 112, 16}, Qt::AlignLeft | Qt::AlignVCenter, false, true},
    {"lblCharging", {4, 128, 200, 16}, Qt::AlignCenter, false, false},
    {"lblStatusString", {206, 60, 154, 18}, Qt::AlignCenter, false, true},
    {"lblPower", {206, 86, 154, 32}, Qt::AlignHCenter | Qt::AlignTop, true, true},
    {"Label3", {10, 170, 388, 16}, Qt::AlignCenter, false, true},
    {"Label2", {156, 220, 96, 16}, Qt::AlignLeft | Qt::AlignVCenter, false, true},
    {"lblPolicy", {252, 220, 150, 16}, Qt::AlignLeft | Qt::AlignVCenter, false, true},
};

constexpr QRect kLinkPlace{10, 220, 132, 16};
constexpr QPoint kBarPlace{11, 24};

struct PicturePlace {
    const char* name;
    QRect rect;
};

const PicturePlace kPictures[] = {
    {"Image1", {12, 56, 64, 64}},
    {"Picture1", {368, 58, 32, 32}},
    {"Picture2", {368, 98, 32, 32}},
};

}  // namespace

MainWindowView::MainWindowView(frmMain& form, QWidget& chargeBar, std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(form),
      chargeBar_(&chargeBar),
      afterEvent_(std::move(afterEvent)) {
    setUpWindowWidget(*this, "frmMain", QSize(kClientWidth, kClientHeight));
    // Pointer moves over the window reach the logic (they put the link's colour back).
    setMouseTracking(true);
    build();
}

MainWindowView::~MainWindowView() {
    // The bar belongs to the program, not to this view.
    if (chargeBar_) {
        chargeBar_->hide();
        chargeBar_->setParent(nullptr);
    }
}

void MainWindowView::build() {
    for (const Place& place : kLabels) {
        auto* label = dynamic_cast<const Label*>(form_.find(place.name));
        auto* widget = new QLabel(this);
        widget->setObjectName(QString::fromLatin1(place.name));
        widget->setGeometry(place.rect);
        widget->setAlignment(place.align);
        widget->setWordWrap(place.wrap);
        widget->setAutoFillBackground(place.filled);
        labels_.push_back({widget, label});
    }
    for (const PicturePlace& place : kPictures) {
        auto* picture = dynamic_cast<const PictureBox*>(form_.find(place.name));
        auto* widget = new QLabel(this);
        widget->setObjectName(QString::fromLatin1(place.name));
        widget->setGeometry(place.rect);
        widget->setAlignment(Qt::AlignCenter);
        pictures_.push_back({widget, picture, place.rect.width()});
    }

    link_ = new ClickLabel(this);
    link_->setObjectName(QStringLiteral("lblChange"));
    link_->setGeometry(kLinkPlace);
    QFont underlined = font();
    underlined.setUnderline(true);
    link_->setFont(underlined);
    link_->setMouseTracking(true);
    link_->onClick = [this] {
        form_.lblChange.click();
        afterEvent_();
    };
    link_->onMouseMove = [this](int x, int y) {
        form_.lblChange.mouseMove(0, x, y);
        afterEvent_();
    };
    labels_.push_back({link_, &form_.lblChange});

    chargeBar_->setParent(this);
    chargeBar_->setObjectName(QStringLiteral("XP_ProgressBar1"));
    chargeBar_->move(kBarPlace);
}

QWidget* MainWindowView::widgetFor(const std::string& controlName) const {
    if (controlName == "XP_ProgressBar1") {
        return chargeBar_;
    }
    return findChild<QWidget*>(qs(controlName));
}

void MainWindowView::sync() {
    for (Mirror& mirror : labels_) {
        if (mirror.synced.changed(*mirror.label)) {
            syncLabel(*mirror.widget, *mirror.label);
            if (mirror.widget == link_) {
                syncPointer(*link_, form_.lblChange);
            }
        }
    }
    for (Picture& picture : pictures_) {
        if (picture.synced.changed(*picture.picture)) {
            syncPicture(*picture.widget, *picture.picture, picture.size);
        }
    }
    if (chargeBar_ && chargeBar_->isVisibleTo(this) != form_.XP_ProgressBar1.Visible) {
        chargeBar_->setVisible(form_.XP_ProgressBar1.Visible);
    }
    syncWindow();
}

void MainWindowView::syncWindow() {
    QString icon = artworkFor(form_.Icon);
    if (icon != appliedIcon_) {
        appliedIcon_ = icon;
        setWindowIcon(loadIcon(icon.toStdString()));
    }
    // Only a new position from the logic moves the window; the user may drag it.
    if (form_.Left != appliedLeft_ || form_.Top != appliedTop_) {
        appliedLeft_ = form_.Left;
        appliedTop_ = form_.Top;
        move(form_.Left, form_.Top);
    }
    tv::syncWindow(*this, form_);
}

void MainWindowView::changeEvent(QEvent* event) {
    // System colours are resolved again from the new palette at the next sync.
    if (event->type() == QEvent::PaletteChange) {
        for (Mirror& mirror : labels_) {
            mirror.synced.forget();
        }
    }
    QWidget::changeEvent(event);
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    // The logic decides: the close box only hides the window.
    event->ignore();
    form_.runtime().unload(form_, vbFormControlMenu);
    afterEvent_();
}

void MainWindowView::mouseMoveEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    if (form_.onMouseMove) {
        form_.onMouseMove(0, at.x(), at.y());
    }
    afterEvent_();
}

}  // namespace tv
