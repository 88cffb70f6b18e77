#include "windowhost.h"

#include "mainwindow.h"
#include "services/paths.h"
#include "services/settings.h"
#include "ui/common/presenter.h"
#include "ui/common/soundport.h"

#include <QWidget>

namespace longhand {

WindowHost::WindowHost(MainWindow& main, QWidget* window, QWidget* stopButton)
    : main_(main), window_(window), stopButton_(stopButton) {}

void WindowHost::showMessage(const std::string& text) {
    main_.presenter().inform(window_, QString::fromStdString(text));
}

bool WindowHost::askYesNo(const std::string& text) {
    return main_.presenter().message(window_, QString::fromStdString(text), MsgButtons::YesNo,
                                     MsgIcon::Question) == MsgAnswer::Yes;
}

bool WindowHost::soundOn() const {
    return main_.soundOn;
}

void WindowHost::stopSound() {
    main_.sound().stop();
}

void WindowHost::finished() {
    if (!soundOn()) return;
    main_.sound().play();
    if (stopButton_) stopButton_->setVisible(true);
}

std::string WindowHost::readText(const std::string& key, int maxLen) {
    return readTextEntry(key, maxLen);
}

std::string WindowHost::facUpper() const {
    return main_.facUpper;
}

void WindowHost::setFacUpper(const std::string& n) {
    main_.facUpper = n;
    writeFacUpper(n);
}

std::string WindowHost::facDataPath() const {
    return appFilePath(kFactorialFile);
}

} // namespace longhand
