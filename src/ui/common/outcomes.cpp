#include "outcomes.h"

#include "engine/factorial.h"
#include "engine/outcome.h"
#include "presenter.h"
#include "refusalwords.h"
#include "services/paths.h"
#include "services/settings.h"
#include "soundport.h"

#include <QWidget>

namespace longhand {

namespace {

void tell(const OutcomeWindow& target, const std::string& text) {
    target.presenter.inform(target.window, QString::fromStdString(text));
}

} // namespace

FactorialStore appFactorialStore() {
    return FactorialStore(appFilePath(kFactorialFile));
}

void followLargestStored(std::string& remembered, const std::string& largest) {
    if (largest.empty() || largest == remembered) return;
    remembered = largest;
    writeLargestStored(largest);
}

bool followOutcome(Outcome& outcome, const OutcomeWindow& target, FactorialStore* store) {
    if (outcome.divided && target.soundOn) target.sound.stop();
    if (store) keepFactorials(outcome, *store, target.largestStored);
    for (const std::string& notice : outcome.notices)
        tell(target, notice);
    followLargestStored(target.largestStored, outcome.largestStored);
    if (outcome.status == Outcome::Status::Refused)
        tellRefusal(target.presenter, target.window, outcome.refusal);
    if (!outcome.isResult()) return false;
    // A calculation that ran to its end gives the finished signal.
    if (outcome.calculated && target.soundOn) {
        target.sound.play();
        if (target.stopSoundButton) target.stopSoundButton->show();
    }
    if (outcome.offer && store) {
        const std::string question =
            readTextEntry(kFacSaveKey, kFacSaveLength) + outcome.offer->key + "\r" + kFacSaveAdvice;
        if (target.presenter.message(target.window, QString::fromStdString(question),
                                     MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes) {
            const FactorialStore::Change change =
                store->append(outcome.offer->key, outcome.offer->value);
            for (const std::string& message : store->messages(change))
                tell(target, message);
            followLargestStored(target.largestStored, change.largest);
        }
    }
    return true;
}

} // namespace longhand
