#include "about/qt/about_view.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/qt_bindings.h"
#include "resources/resources.h"

namespace tv {

namespace {

constexpr int kIconSize = 48;

}  // namespace

AboutView::AboutView(frmAbout& form, std::function<void()> afterEvent)
    : form_(form), afterEvent_(std::move(afterEvent)) {
    setWindowIcon(loadIcon("tolvane"));
    auto* icon = new QLabel(this);
    icon->setPixmap(loadPicture("tolvane", kIconSize, devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    QLabel* product = addLabel(form.lblProduct);
    QFont big = product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    product->setFont(big);
    text->addWidget(product);
    for (Label* label : {&form.lblDescription, &form.lblLicence, &form.lblLibraries}) {
        text->addWidget(addLabel(*label));
    }
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    text->addWidget(line);
    // Paths are there to be copied into a terminal or a file manager.
    for (Label* label : {&form.lblStore, &form.lblAutostart, &form.lblPowerSupply}) {
        QLabel* path = addLabel(*label);
        path->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->addWidget(path);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);

    manual_ = new QPushButton(this);
    close_ = new QPushButton(this);
    close_->setDefault(true);
    connect(manual_, &QPushButton::clicked, this, [this] {
        form_.cmdManual.click();
        afterEvent_();
    });
    connect(close_, &QPushButton::clicked, this, [this] {
        form_.cmdClose.click();
        afterEvent_();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(manual_);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* AboutView::addLabel(Label& label) {
    auto* widget = new QLabel(this);
    widget->setObjectName(QString::fromStdString(label.name()));
    widget->setTextFormat(Qt::PlainText);
    labels_.emplace_back(widget, &label);
    return widget;
}

void AboutView::sync() {
    if (ended_) {
        return;
    }
    for (auto& [widget, label] : labels_) {
        syncLabel(*widget, *label);
    }
    syncButton(*manual_, form_.cmdManual);
    syncButton(*close_, form_.cmdClose);
    if (!form_.isLoaded()) {
        ended_ = true;
        hide();
        if (onUnloaded) {
            onUnloaded();
        }
        return;
    }
    syncWindow(*this, form_);
}

QWidget* AboutView::widgetFor(const std::string& controlName) const {
    if (controlName == form_.cmdManual.name()) {
        return manual_;
    }
    if (controlName == form_.cmdClose.name()) {
        return close_;
    }
    for (const auto& [widget, label] : labels_) {
        if (label->name() == controlName) {
            return widget;
        }
    }
    return nullptr;
}

void AboutView::reject() {
    form_.cmdClose.click();
    afterEvent_();
}

void AboutView::closeEvent(QCloseEvent* event) {
    // The logic ends the window; Qt's own close would only hide it.
    event->ignore();
    if (!ended_) {
        reject();
    }
}

}  // namespace tv
