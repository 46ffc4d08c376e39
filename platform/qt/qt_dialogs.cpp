#include "platform/qt/qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

namespace tv {

void QtDialogs::MsgBox(const std::string& prompt, int style, const std::string& title) {
    QMessageBox box(owner());
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    box.setStandardButtons(QMessageBox::Ok);
    if ((style & 0x70) == vbInformation) {
        box.setIcon(QMessageBox::Information);
    } else if ((style & 0x70) == vbExclamation) {
        box.setIcon(QMessageBox::Warning);
    }
    box.exec();
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(owner(), QString::fromStdString(title),
                                         QString::fromStdString(prompt), QLineEdit::Normal,
                                         QString::fromStdString(defaultText), &ok);
    return ok ? text.toStdString() : std::string();
}

}  // namespace tv
