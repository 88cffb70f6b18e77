#include "windowhost.h"

#include "engine/factorial.h"
#include "engine/outcome.h"
#include "form1.h"
#include "presenter.h"
#include "services/paths.h"
#include "services/settings.h"
#include "soundport.h"

#include <QWidget>

namespace longhand {

namespace {

// The save question: the settings text, n, a CR, then the advice.
constexpr const char* kFacSaveKey = "facSave";
constexpr int kFacSaveLength = 47;
constexpr const char* kFacSaveAdvice = "You should save this result.";

} // namespace

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

bool WindowHost::follow(Outcome& outcome, FactorialStore* store) {
    if (outcome.stopSound && soundOn()) stopSound();
    if (store) keepFactorials(outcome, *store, facUpper());
    for (const std::string& notice : outcome.notices)
        showMessage(notice);
    if (!outcome.largestStored.empty()) setFacUpper(outcome.largestStored);
    if (outcome.status == Outcome::Status::Refused) showMessage(outcome.text);
    if (!outcome.isResult()) return false;
    if (outcome.finished) finished();
    if (outcome.offer && store) {
        const std::string question =
            readTextEntry(kFacSaveKey, kFacSaveLength) + outcome.offer->key + "\r" + kFacSaveAdvice;
        if (askYesNo(question)) {
            const FactorialStore::Change change =
                store->append(outcome.offer->key, outcome.offer->value);
            for (const std::string& message : store->messages(change))
                showMessage(message);
            if (!change.largest.empty() && change.largest != facUpper())
                setFacUpper(change.largest);
        }
    }
    return true;
}

} // namespace longhand
