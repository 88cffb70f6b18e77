#include "outcomes.h"

#include "engine/outcome.h"
#include "presenter.h"
#include "refusalwords.h"
#include "services/paths.h"
#include "services/settings.h"
#include "soundport.h"
#include "storewords.h"

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

void followLargestStored(const std::string& largest) {
    if (largest.empty() || readLargestStored() == largest) return;
    writeLargestStored(largest);
}

void tellStoreNotices(const OutcomeWindow& target, const std::vector<StoreNotice>& notices) {
    for (const StoreNotice& notice : notices)
        tell(target, storeNoticeText(notice));
}

bool followOutcome(Outcome& outcome, const OutcomeWindow& target, StoreKeeper* keeper) {
    // A long division stops a finished sound still looping from before.
    if (outcome.divided && target.soundOn) target.sound.stop();
    StoreKeeper::Kept kept;
    if (keeper && outcome.isResult()) {
        // A write that is cancelled stores nothing; the result is still shown.
        if (auto done = runStoreWork(target.runner, target.scene, keeper->store(),
                                     [&](Progress& progress) { return keeper->finish(&progress); }))
            kept = std::move(*done);
    }
    tellStoreNotices(target, kept.notices);
    followLargestStored(kept.largest);
    if (outcome.status == Outcome::Status::Refused)
        tellRefusal(target.presenter, target.window, outcome.refusal);
    if (!outcome.isResult()) return false;
    // A calculation that ran to its end gives the finished signal.
    if (outcome.calculated && target.soundOn) {
        target.sound.play();
        if (target.stopSoundButton) target.stopSoundButton->show();
    }
    if (kept.offer && keeper) {
        const std::string question =
            readTextEntry(kFacSaveKey, kFacSaveLength) + kept.offer->key + "\r" + kFacSaveAdvice;
        if (target.presenter.message(target.window, QString::fromStdString(question),
                                     MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes) {
            FactorialStore& store = keeper->store();
            const auto change =
                runStoreWork(target.runner, target.scene, store, [&](Progress& progress) {
                    return store.append(kept.offer->key, kept.offer->value, &progress);
                });
            if (change) {
                tellStoreNotices(target, store.notices(*change));
                followLargestStored(change->largest);
            }
        }
    }
    return true;
}

} // namespace longhand
