#include "windowhost.h"

#include "form1.h"
#include "presenter.h"
#include "services/paths.h"
#include "services/settings.h"
#include "soundport.h"

#include <QWidget>

namespace longhand {

WindowHost::WindowHost(Form1& form, QWidget* window, QWidget* stopButton)
    : form_(form), window_(window), stopButton_(stopButton) {}

void WindowHost::showMessage(const std::string& text) {
    form_.presenter().inform(window_, QString::fromStdString(text));
}

bool WindowHost::askYesNo(const std::string& text) {
    return form_.presenter().message(window_, QString::fromStdString(text), MsgButtons::YesNo,
                                     MsgIcon::Question) == MsgAnswer::Yes;
}

bool WindowHost::soundOn() const {
    return form_.soundFlag == Form1::kSoundOnFlag;
}

void WindowHost::stopSound() {
    form_.sound().stop("");
}

void WindowHost::finished() {
    if (!soundOn()) return;
    form_.sound().play(kFinishedSound);
    if (stopButton_) stopButton_->setVisible(true);
}

std::string WindowHost::readText(const std::string& key, int maxLen) {
    return readTextEntry(key, maxLen);
}

std::string WindowHost::facUpper() const {
    return form_.facUpper;
}

void WindowHost::setFacUpper(const std::string& n) {
    form_.facUpper = n;
    writeFacUpper(n);
}

std::string WindowHost::facDataPath() const {
    return appFilePath(kFactorialFile);
}

} // namespace longhand
