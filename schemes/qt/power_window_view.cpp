#include "schemes/qt/power_window_view.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/qt/artwork.h"
#include "platform/qt/qt_bindings.h"
#include "platform/qt/system_colours.h"
#include "resources/resources.h"
#include "runtime/numbers.h"

namespace tv {

namespace {

constexpr int kClientHeightTwips = 4545;
// The settings list's 9-point fixed-pitch face at 96 dots per inch.
constexpr int kListFontPixels = 12;
const QColor kDarkGreen(0, 128, 0);

// The one value box with an edit field; the other drop-down only offers its list.
constexpr const char* kEditableCombo = "cboMinutes";
constexpr const char* kLinkLabel = "lblChange";

QRect pixels(const ControlPlace& place) {
    auto px = [](int twips) { return qRound(twips / double(PowerWindowView::kTwipsPerPixel)); };
    return {px(place.left), px(place.top), px(place.width), px(place.height)};
}

// Some monospace faces do not say so to Qt, so the advances decide.
bool hasFixedPitch(const QFont& font) {
    QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(QLatin1Char('i')) ==
           metrics.horizontalAdvance(QLatin1Char('W'));
}

QFont fixedPitchFont() {
    QFont font(QStringLiteral("Lucida Console"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(kListFontPixels);
    if (!hasFixedPitch(font)) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(kListFontPixels);
    }
    return font;
}

void paintTextGreen(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Text, kDarkGreen);
    palette.setColor(QPalette::ButtonText, kDarkGreen);
    widget.setPalette(palette);
}

}  // namespace

PowerWindowView::PowerWindowView(std::function<void()> afterEvent)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      afterEvent_(std::move(afterEvent)),
      listFont_(fixedPitchFont()) {
    setObjectName(QStringLiteral("frmPower"));
    setFixedSize(kClientWidth, kClientHeight);
    QFont face = font();
    face.setPixelSize(kWindowFontPixels);
    setFont(face);
    setWindowIcon(loadIcon("VANTREL"));
    // Pointer moves over the background reach the logic (they put the link's colour back).
    setMouseTracking(true);
}

void PowerWindowView::attach(frmPower& form) {
    form_ = &form;
    for (std::size_t i = 0; i < kPowerLayoutCount; ++i) {
        if (kPowerLayout[i].top < kClientHeightTwips) {
            build(kPowerLayout[i]);
        }
    }
    // The device list lies over the settings list, the picture over the policy line.
    for (const char* name : {"lstDevices", "Image1"}) {
        if (QWidget* widget = widgetFor(name)) {
            widget->raise();
        }
    }
    sync();
}

void PowerWindowView::build(const ControlPlace& place) {
    Control* control = form_->find(place.name);
    if (control == nullptr) {
        return;
    }
    QWidget* widget = makeWidget(*control);
    if (widget == nullptr) {
        return;
    }
    widget->setObjectName(QString::fromLatin1(place.name));
    widget->setGeometry(pixels(place));
    mirrors_.push_back({widget, control, pixels(place)});
}

QWidget* PowerWindowView::makeWidget(Control& control) {
    if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
        return makeCombo(*combo);
    }
    if (auto* list = dynamic_cast<ListBox*>(&control)) {
        return makeList(*list);
    }
    if (auto* button = dynamic_cast<Button*>(&control)) {
        return makeButton(*button);
    }
    if (dynamic_cast<Label*>(&control) != nullptr ||
        dynamic_cast<PictureBox*>(&control) != nullptr) {
        return makeLabel(control);
    }
    return nullptr;
}

QWidget* PowerWindowView::makeCombo(ComboBox& combo) {
    QComboBox* widget = nullptr;
    if (combo.name() == kEditableCombo) {
        auto* values = new ValueCombo(this);
        connect(values->lineEdit(), &QLineEdit::textEdited, this,
                [this, &combo](const QString& text) {
                    forward([&combo, text] { combo.Text = text.toStdString(); });
                });
        widget = values;
    } else {
        widget = new QComboBox(this);
    }
    paintTextGreen(*widget);
    connect(widget, &QComboBox::activated, this, [this, widget, &combo](int index) {
        auto* values = dynamic_cast<ValueCombo*>(widget);
        if (values != nullptr && values->isLocked()) {
            afterEvent_();  // puts back what the box must show
            return;
        }
        forward([&combo, index] { combo.setListIndex(index); });
    });
    return widget;
}

QWidget* PowerWindowView::makeList(ListBox& list) {
    auto* widget = new SettingsList(this);
    if (list.name() == "lstSchemes") {
        widget->setFont(listFont_);
    }
    paintTextGreen(*widget);
    // A selection, not a current row: a list taking the focus makes its first line
    // current without choosing it.
    connect(widget, &QListWidget::itemSelectionChanged, this, [this, widget, &list] {
        int row = widget->currentRow();
        if (row >= 0 && widget->item(row)->isSelected()) {
            forward([&list, row] { list.setListIndex(row); });
        }
    });
    widget->onMouseDown = [this, &list](int button, int x, int y) {
        forward([&list, button, x, y] { list.mouseDown(button, x, y); });
    };
    widget->onMouseUp = [this, &list](int button, int x, int y) {
        forward([&list, button, x, y] { list.mouseUp(button, x, y); });
    };
    return widget;
}

QWidget* PowerWindowView::makeLabel(Control& control) {
    auto* widget = new ClickLabel(this);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    widget->setMouseTracking(true);
    widget->onClick = [this, &control] { forward([&control] { control.click(); }); };
    widget->onMouseMove = [this, &control](int x, int y) {
        forward([&control, x, y] { control.mouseMove(0, x, y); });
    };
    if (control.name() == kLinkLabel) {
        QFont underlined = font();
        underlined.setUnderline(true);
        widget->setFont(underlined);
        // Its place is centred on the window.
        widget->setAlignment(Qt::AlignCenter);
    }
    if (dynamic_cast<PictureBox*>(&control) != nullptr) {
        widget->setAlignment(Qt::AlignCenter);
    }
    return widget;
}

QPushButton* PowerWindowView::makeButton(Button& button) {
    auto* widget = new QPushButton(this);
    connect(widget, &QPushButton::clicked, this,
            [this, &button] { forward([&button] { button.click(); }); });
    return widget;
}

void PowerWindowView::forward(const std::function<void()>& event) {
    if (form_ == nullptr || !form_->isLoaded()) {
        return;
    }
    event();
    afterEvent_();
}

void PowerWindowView::sync() {
    if (form_ == nullptr) {
        return;
    }
    for (const Mirror& mirror : mirrors_) {
        syncControl(mirror);
    }
    syncWindow();
}

void PowerWindowView::syncControl(const Mirror& mirror) {
    QWidget& widget = *mirror.widget;
    const Control& control = *mirror.control;
    if (auto* combo = dynamic_cast<const ComboBox*>(&control)) {
        syncCombo(static_cast<QComboBox&>(widget), *combo);
        if (auto* values = dynamic_cast<ValueCombo*>(&widget)) {
            values->setLocked(combo->Locked);
        }
    } else if (auto* list = dynamic_cast<const ListBox*>(&control)) {
        auto& settings = static_cast<SettingsList&>(widget);
        syncList(settings, *list);
        settings.setHorizontalExtent(list->HorizontalExtent);
    } else if (auto* button = dynamic_cast<const Button*>(&control)) {
        syncButton(static_cast<QPushButton&>(widget), *button);
    } else if (auto* label = dynamic_cast<const Label*>(&control)) {
        syncLabel(static_cast<QLabel&>(widget), *label);
        fitLabel(static_cast<QLabel&>(widget), mirror.place);
    } else if (auto* picture = dynamic_cast<const PictureBox*>(&control)) {
        syncPicture(static_cast<QLabel&>(widget), *picture, widget.width());
    }
    syncPointer(widget, control);
}

void PowerWindowView::syncWindow() {
    if (!form_->isLoaded()) {
        if (wasLoaded_ && !unloaded_) {
            unloaded_ = true;
            hide();
            if (onUnloaded) {
                onUnloaded();
            }
        }
        return;
    }
    wasLoaded_ = true;
    if (form_->Visible && !isVisible() && !placed_) {
        placed_ = true;
        // The client area: the frame is not known before the desktop draws it.
        QRect screen = this->screen()->availableGeometry();
        setGeometry(QRect(screen.center() - rect().center(), size()));
    }
    tv::syncWindow(*this, *form_);
}

// The designed widths fit the design's narrow face; wider desktop faces would cut the
// captions short, so a label grows to its text (the link around its centre).
void PowerWindowView::fitLabel(QLabel& widget, const QRect& place) {
    int width = std::max(place.width(), widget.sizeHint().width());
    QRect wanted = place;
    wanted.setWidth(width);
    if (widget.alignment() & Qt::AlignHCenter) {
        wanted.moveCenter(QPoint(place.center().x(), wanted.center().y()));
    }
    if (widget.geometry() != wanted) {
        widget.setGeometry(wanted);
    }
}

QWidget* PowerWindowView::widgetFor(const std::string& controlName) const {
    for (const Mirror& mirror : mirrors_) {
        if (mirror.control->name() == controlName) {
            return mirror.widget;
        }
    }
    return nullptr;
}

QWidget* PowerWindowView::find(const Control& control) const {
    for (const Mirror& mirror : mirrors_) {
        if (mirror.control == &control) {
            return mirror.widget;
        }
    }
    return nullptr;
}

void PowerWindowView::LockWindowUpdate(const Control* control) {
    if (control == nullptr) {
        if (locked_) {
            locked_->setUpdatesEnabled(true);
            locked_ = nullptr;
        }
        return;
    }
    // One window at a time may be locked; asking for another changes nothing.
    QWidget* widget = find(*control);
    if (widget != nullptr && !locked_) {
        locked_ = widget;
        widget->setUpdatesEnabled(false);
    }
}

void PowerWindowView::setFocus(const Control& control) {
    QWidget* widget = find(control);
    if (widget != nullptr && widget->isVisible() && widget->isEnabled()) {
        widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A control with no widget (the dummy button) takes the focus away from the rest.
    if (QWidget* current = focusWidget()) {
        current->clearFocus();
    }
}

void PowerWindowView::refresh(const Control& control) {
    sync();
    if (QWidget* widget = find(control)) {
        widget->repaint();
    }
}

double PowerWindowView::textWidth(const std::string& text) {
    return QFontMetricsF(listFont_).horizontalAdvance(qs(text));
}

void PowerWindowView::closeEvent(QCloseEvent* event) {
    // The logic unloads the window; the next mirror hides it.
    event->ignore();
    if (form_ != nullptr && form_->isLoaded()) {
        form_->runtime().unload(*form_, vbFormControlMenu);
    }
    afterEvent_();
}

void PowerWindowView::mouseMoveEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    forward([this, at] {
        if (form_->onMouseMove) {
            form_->onMouseMove(0, at.x(), at.y());
        }
    });
}

}  // namespace tv
